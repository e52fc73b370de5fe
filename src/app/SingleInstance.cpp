#include "SingleInstance.h"

#include "core/util/PrivateFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

// Whether `fd` stays open across an exec.
bool setInherited(int fd, bool inherited)
{
    const int flags = ::fcntl(fd, F_GETFD);
    return flags >= 0 && ::fcntl(fd, F_SETFD, inherited ? flags & ~FD_CLOEXEC : flags | FD_CLOEXEC) == 0;
}

bool sameFile(int fd, const QString &path)
{
    struct stat held {
    };
    struct stat named {
    };
    return ::fstat(fd, &held) == 0 && ::stat(QFile::encodeName(path).constData(), &named) == 0
        && held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// Whether `fd` is a listening local socket. Its address says nothing of
// where it is found: the server binds it in a private folder first and moves
// it into place.
bool isListeningSocket(int fd)
{
    int listening = 0;
    socklen_t size = sizeof listening;
    sockaddr_un address {};
    socklen_t length = sizeof address;
    return ::getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &size) == 0 && listening
        && ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0 && address.sun_family == AF_UNIX;
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
    if (m_adoptedLock >= 0) {
        // The server adopted its socket under the name it was bound with.
        if (m_server)
            ::unlink(QFile::encodeName(m_socketPath).constData());
        // Removed while still held, so nobody takes a lock that is going.
        ::unlink(QFile::encodeName(m_lock.fileName()).constData());
        ::close(m_adoptedLock);
    }
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
    serve();
}

void SingleInstance::serve()
{
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
}

int SingleInstance::lockDescriptor() const
{
    if (m_adoptedLock >= 0)
        return m_adoptedLock;
    if (!m_lock.isLocked())
        return -1;
    // QLockFile does not tell its descriptor: it is the one open on the file.
    const QDir open(QStringLiteral("/proc/self/fd"));
    for (const QString &name : open.entryList(QDir::Files | QDir::System)) {
        bool number = false;
        const int fd = name.toInt(&number);
        if (number && sameFile(fd, m_lock.fileName()))
            return fd;
    }
    return -1;
}

QByteArray SingleInstance::handOver()
{
    const int lock = lockDescriptor();
    const int socket = m_server ? int(m_server->socketDescriptor()) : -1;
    if (lock < 0 || !setInherited(lock, true) || (socket >= 0 && !setInherited(socket, true))) {
        takeBack();
        return {};
    }
    return QByteArray::number(lock) + ',' + QByteArray::number(socket);
}

void SingleInstance::takeBack()
{
    if (const int lock = lockDescriptor(); lock >= 0)
        setInherited(lock, false);
    if (m_server && m_server->socketDescriptor() >= 0)
        setInherited(int(m_server->socketDescriptor()), false);
}

bool SingleInstance::adopt(const QByteArray &handedOver)
{
    const QList<QByteArray> parts = handedOver.split(',');
    bool lockRead = false;
    bool socketRead = false;
    const int lock = parts.size() == 2 ? parts.at(0).toInt(&lockRead) : -1;
    const int socket = parts.size() == 2 ? parts.at(1).toInt(&socketRead) : -1;
    if (!lockRead || !socketRead || lock < 0 || !sameFile(lock, m_lock.fileName())
        || (socket >= 0 && (m_socketPath.isEmpty() || !isListeningSocket(socket)))) {
        return false;
    }
    setInherited(lock, false);
    m_adoptedLock = lock;
    if (socket < 0) {
        listen();
        return true;
    }
    setInherited(socket, false);
    m_server = std::make_unique<QLocalServer>();
    if (!m_server->listen(qintptr(socket))) {
        m_listenError = QStringLiteral("cannot listen at %1: %2").arg(m_socketPath, m_server->errorString());
        m_server.reset();
        return true;
    }
    serve();
    return true;
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
            // Closed unanswered: the owner was replacing its image (exec)
            // and the new one listens on the same socket.
            if (answered || timer.elapsed() >= timeoutMsecs)
                return answered;
        }
        QThread::msleep(100);
    }
    return false;
}

} // namespace quillery
