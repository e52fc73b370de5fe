#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

#include <unistd.h>

namespace quillery {

namespace {
const QByteArray ActivateMessage = QByteArrayLiteral("activate\n");
}

SingleInstance::SingleInstance(const QString &dataDirectory, QObject *parent)
    : QObject(parent)
    , m_lock(QDir(dataDirectory).filePath(QStringLiteral("quillery.lock")))
{
    const QByteArray key
        = QCryptographicHash::hash(QDir(dataDirectory).absolutePath().toUtf8(), QCryptographicHash::Sha1);
    m_serverName = QStringLiteral("quillery-%1-%2").arg(::getuid()).arg(QString::fromLatin1(key.toHex().left(16)));
    // Only a dead owner makes the lock stale, however long the owner runs.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
    m_lock.unlock();
}

bool SingleInstance::acquire()
{
    QDir().mkpath(QFileInfo(m_lock.fileName()).absolutePath());
    if (!m_lock.tryLock(100))
        return false;
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_serverName); // a socket left by a crashed owner
    if (m_server->listen(m_serverName))
        connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    return true;
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains(ActivateMessage.trimmed()))
                Q_EMIT activationRequested();
            socket->write("ok\n");
            socket->flush();
        });
    }
}

bool SingleInstance::activateRunning(int timeoutMsecs)
{
    QElapsedTimer timer;
    timer.start();
    // The owner may still be starting and not listen yet: try for a while.
    while (timer.elapsed() < timeoutMsecs) {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(500)) {
            socket.write(ActivateMessage);
            socket.waitForBytesWritten(500);
            const bool answered = socket.waitForReadyRead(std::max<int>(100, timeoutMsecs - timer.elapsed()));
            socket.disconnectFromServer();
            return answered;
        }
        QThread::msleep(100);
    }
    return false;
}

} // namespace quillery
