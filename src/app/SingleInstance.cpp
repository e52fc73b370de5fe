#include "SingleInstance.h"

#include "core/util/PrivateFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace quillery {

namespace {

const QByteArray ActivateMessage = QByteArrayLiteral("activate\n");

// Whether the process at the other end of a local socket runs as this user.
bool isSameUser(qintptr descriptor)
{
    ucred peer {};
    socklen_t size = sizeof peer;
    return descriptor >= 0 && ::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0
        && peer.uid == ::geteuid();
}

// What keeps files from being written in `folder`, found by writing one.
int writeErrno(const QString &folder)
{
    QByteArray name = QFile::encodeName(folder + QStringLiteral("/.quillery-probe-XXXXXX"));
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return errno;
    const bool written = ::write(fd, "quillery\n", 9) == 9 && ::fsync(fd) == 0;
    const int error = written ? 0 : errno;
    ::close(fd);
    ::unlink(name.constData());
    return error;
}

} // namespace

SingleInstance::SingleInstance(const QString &dataDirectory, QObject *parent)
    : QObject(parent)
    , m_directory(QDir(dataDirectory).absolutePath())
    , m_lock(QDir(dataDirectory).filePath(QStringLiteral("quillery.lock")))
{
    const QString runtime = PrivateFiles::runtimeDirectory(&m_runtimeError);
    if (!runtime.isEmpty()) {
        const QByteArray key = QCryptographicHash::hash(m_directory.toUtf8(), QCryptographicHash::Sha256).toHex();
        m_socketPath = runtime + QStringLiteral("/quillery-%1.socket").arg(QString::fromLatin1(key.left(16)));
    }
    // Only a dead owner makes the lock stale, however long the owner runs.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
    m_lock.unlock();
}

SingleInstance::Outcome SingleInstance::acquire()
{
    const auto fail = [this](int error, const QString &what) {
        m_failedForPermission = error == EACCES || error == EPERM || error == EROFS;
        m_failure = what + QStringLiteral(": ")
            + (error ? QString::fromLocal8Bit(std::strerror(error))
                     : QStringLiteral("the lock file cannot be written"));
        return Outcome::Failed;
    };
    QString why;
    if (!PrivateFiles::makeDirectory(m_directory, &why)) {
        m_failedForPermission = errno == EACCES || errno == EPERM || errno == EROFS;
        m_failure = why;
        return Outcome::Failed;
    }
    if (!m_lock.tryLock(100)) {
        // Only a lock held by a live process means another copy; anything
        // else (no permission, a full disk) keeps this copy from running.
        if (m_lock.error() == QLockFile::LockFailedError)
            return Outcome::AlreadyRunning;
        return fail(writeErrno(m_directory), QStringLiteral("cannot lock the folder %1").arg(m_directory));
    }
    PrivateFiles::tighten(m_lock.fileName());
    listen();
    return Outcome::Acquired;
}

void SingleInstance::listen()
{
    if (m_socketPath.isEmpty()) {
        m_listenError = m_runtimeError;
        return;
    }
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a crashed owner: only this user can have put it in
    // the runtime folder.
    QLocalServer::removeServer(m_socketPath);
    if (!m_server->listen(m_socketPath)) {
        m_listenError = QStringLiteral("cannot listen at %1: %2").arg(m_socketPath, m_server->errorString());
        m_server.reset();
        return;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (!isSameUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
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
    if (m_socketPath.isEmpty())
        return false;
    QElapsedTimer timer;
    timer.start();
    // The owner may still be starting and not listen yet: try for a while.
    while (timer.elapsed() < timeoutMsecs) {
        QLocalSocket socket;
        socket.connectToServer(m_socketPath);
        if (socket.waitForConnected(500)) {
            if (!isSameUser(socket.socketDescriptor()))
                return false;
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
