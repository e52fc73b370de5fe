#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>

#include <memory>

namespace quillery {

// Makes sure one book is opened by one process only. The first process takes
// a lock file beside the book and listens on a local socket; a later launch
// finds the lock taken, asks the running process to come to the front and
// leaves. A lock left behind by a crashed process is taken over.
class SingleInstance final : public QObject
{
    Q_OBJECT
public:
    // `dataDirectory` is the folder of the book; it names the lock and socket,
    // so books in different folders (tests) do not meet.
    explicit SingleInstance(const QString &dataDirectory, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock. True when this process is the one that may open the book.
    bool acquire();

    // From a later launch: asks the running process to come to the front.
    // True when it answered.
    bool activateRunning(int timeoutMsecs = 3000);

    QString serverName() const { return m_serverName; }

Q_SIGNALS:
    // Another launch asked this process to show its window.
    void activationRequested();

private:
    void acceptConnection();

    QString m_serverName;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};

} // namespace quillery
