#pragma once

#include "core/util/Clock.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QSocketNotifier;

namespace quillery {

// A one-shot timer for a moment of the wall clock, which Qt's timers are not:
// they count elapsed time, so they ring late after the clock is set forward
// or the machine slept. On Linux a real-time timerfd does the waiting: it
// counts across suspend and reports when the clock is set, and nothing wakes
// the process before the deadline. Where the timerfd is not available a
// capped QTimer waits instead, and a coarse check of wall-clock against
// elapsed time, once a minute, notices jumps.
//
// With any other clock than the system's (a test's), the capped QTimer waits
// by that clock, and setting the clock counts as a jump.
class WallClockTimer final : public QObject
{
    Q_OBJECT
public:
    explicit WallClockTimer(QObject *parent = nullptr);
    explicit WallClockTimer(const Clock &clock, QObject *parent = nullptr);
    ~WallClockTimer() override;

    // Rings once at `deadline` (at once when it has passed). Replaces any
    // earlier deadline.
    void start(const QDateTime &deadline);
    void stop();
    bool isActive() const { return m_deadline.isValid(); }

    // How often the wall clock is compared with elapsed time.
    static constexpr int JumpCheckInterval = 60'000;
    // The largest difference between the two that is not a jump.
    static constexpr qint64 JumpTolerance = 2'000;

Q_SIGNALS:
    void timeout();
    // The wall clock jumped (it was set, or the machine resumed). Whoever
    // armed the timer re-reads the time and arms it again.
    void clockChanged();

private:
    void onReadable();
    void onFallback();
    void checkForJump();
    void armFallback();
    void resetJumpCheck();

    const Clock &m_clock;
    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_fallback;
    QTimer m_jumpCheck;
    QElapsedTimer m_elapsed;
    qint64 m_wallAtCheck = 0;
    QDateTime m_deadline;
};

} // namespace quillery
