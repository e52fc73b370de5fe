#pragma once

#include <QObject>

namespace quillery {

// Tells when the machine wakes from suspend, from logind's PrepareForSleep
// signal on the system bus. Where there is no system bus or no logind it
// stays silent (the wall-clock timer notices the jump a little later).
class SleepWatcher final : public QObject
{
    Q_OBJECT
public:
    explicit SleepWatcher(QObject *parent = nullptr);

    // Whether logind's signal could be subscribed to.
    bool isWatching() const { return m_watching; }

Q_SIGNALS:
    void resumed();

private Q_SLOTS:
    // QtDBus delivers bus signals only to slots named by signature.
    void onPrepareForSleep(bool sleeping);

private:
    bool m_watching = false;
};

} // namespace quillery
