#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace quillery {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the main thread (via a
// self-pipe), so the program can save and quit cleanly when asked to stop.
class UnixSignalWatcher final : public QObject
{
    Q_OBJECT
public:
    explicit UnixSignalWatcher(QObject *parent = nullptr);
    ~UnixSignalWatcher() override;

Q_SIGNALS:
    void terminationRequested(int signal);

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace quillery
