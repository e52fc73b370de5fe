#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

#include <memory>

namespace quillery {

// Makes sure one book is opened by one process only. The first process takes
// a lock file beside the book and listens on a local socket in the user's
// runtime folder, which no other user can enter; a later launch finds the
// lock taken, asks the running process to come to the front and leaves. A
// lock left behind by a crashed process is taken over. Both ends check that
// the other is the same user before they trust a word. When the process
// replaces its own image (exec), the lock and the listening socket stay open
// across it, so a launch in between still finds the process and is answered
// once the new image runs.
class SingleInstance final : public QObject
{
    Q_OBJECT
public:
    enum class Outcome {
        Acquired, // this process may open the book
        AlreadyRunning, // another process holds the lock
        Failed, // the lock cannot be taken at all: see failure()
    };

    // `dataDirectory` is the folder of the book; it names the lock and socket,
    // so books in different folders (tests) do not meet.
    explicit SingleInstance(const QString &dataDirectory, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock.
    Outcome acquire();
    // Why acquire() failed, naming the folder, and whether it was for want of
    // permission.
    QString failure() const { return m_failure; }
    bool failedForPermission() const { return m_failedForPermission; }
    // Why later launches cannot reach this process (empty when it listens).
    QString listenError() const { return m_listenError; }

    // Before an exec of this process: keeps the lock and the socket open
    // across it and returns what the new image passes to adopt(). Empty when
    // they cannot be handed over (then nothing changed).
    QByteArray handOver();
    // The exec failed: the lock and the socket are this image's alone again.
    void takeBack();
    // In the new image, instead of acquire(): takes over the lock and the
    // socket named by `handedOver`, after checking that they are this book's.
    // False (nothing taken) when they are not.
    bool adopt(const QByteArray &handedOver);

    // From a later launch: asks the running process to come to the front.
    // True when it answered.
    bool activateRunning(int timeoutMsecs = 3000);

    // The socket the running process listens on (empty without a runtime
    // folder).
    QString socketPath() const { return m_socketPath; }

Q_SIGNALS:
    // Another launch asked this process to show its window.
    void activationRequested();

private:
    void listen();
    void serve();
    // The descriptor of the lock file this process holds, or -1.
    int lockDescriptor() const;
    void acceptConnection();

    QString m_directory;
    QString m_socketPath;
    QString m_runtimeError;
    QString m_failure;
    bool m_failedForPermission = false;
    QString m_listenError;
    QLockFile m_lock;
    // The lock taken over from the image before the last exec (-1: none);
    // then m_lock is not used.
    int m_adoptedLock = -1;
    std::unique_ptr<QLocalServer> m_server;
};

} // namespace quillery
