#include "WallClockTimer.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

namespace quillery {

namespace {

// A QTimer counts milliseconds in an int; waits longer than this are taken in
// steps.
constexpr qint64 LongestFallbackWait = 60 * 60 * 1000;

} // namespace

WallClockTimer::WallClockTimer(QObject *parent)
    : WallClockTimer(Clock::system(), parent)
{ }

WallClockTimer::WallClockTimer(const Clock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
{
    if (&clock == &Clock::system())
        m_fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    else
        connect(&clock, &Clock::moved, this, &WallClockTimer::clockChanged);
    if (m_fd >= 0) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &WallClockTimer::onReadable);
    }
    m_fallback.setSingleShot(true);
    connect(&m_fallback, &QTimer::timeout, this, &WallClockTimer::onFallback);
    m_jumpCheck.setInterval(JumpCheckInterval);
    connect(&m_jumpCheck, &QTimer::timeout, this, &WallClockTimer::checkForJump);
}

WallClockTimer::~WallClockTimer()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void WallClockTimer::start(const QDateTime &deadline)
{
    m_deadline = deadline.toUTC();
    if (m_fd < 0) {
        armFallback();
        return;
    }
    qint64 ms = m_deadline.toMSecsSinceEpoch();
    if (ms <= 0)
        ms = 1; // an all-zero value would disarm the timer
    itimerspec when {};
    when.it_value.tv_sec = time_t(ms / 1000);
    when.it_value.tv_nsec = long(ms % 1000) * 1'000'000L;
    if (::timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &when, nullptr) != 0)
        armFallback();
}

void WallClockTimer::stop()
{
    m_deadline = QDateTime();
    m_fallback.stop();
    m_jumpCheck.stop();
    if (m_fd >= 0) {
        const itimerspec disarm {};
        ::timerfd_settime(m_fd, 0, &disarm, nullptr);
    }
}

void WallClockTimer::onReadable()
{
    std::uint64_t expirations = 0;
    const ssize_t n = ::read(m_fd, &expirations, sizeof expirations);
    if (n == sizeof expirations) {
        if (!m_deadline.isValid())
            return;
        m_deadline = QDateTime();
        m_jumpCheck.stop();
        Q_EMIT timeout();
    } else if (n < 0 && errno == ECANCELED) {
        // The clock was set; the timer stays disarmed until armed again.
        Q_EMIT clockChanged();
    }
}

void WallClockTimer::armFallback()
{
    // The timerfd notices the clock being set by itself; only the QTimer
    // needs the periodic look.
    if (&m_clock == &Clock::system() && !m_jumpCheck.isActive()) {
        resetJumpCheck();
        m_jumpCheck.start();
    }
    const qint64 wait = m_clock.now().msecsTo(m_deadline);
    m_fallback.start(int(std::clamp<qint64>(wait, 0, LongestFallbackWait)));
}

void WallClockTimer::onFallback()
{
    if (!m_deadline.isValid())
        return;
    if (m_clock.now() < m_deadline) {
        armFallback();
        return;
    }
    m_deadline = QDateTime();
    m_jumpCheck.stop();
    Q_EMIT timeout();
}

void WallClockTimer::resetJumpCheck()
{
    m_elapsed.start();
    m_wallAtCheck = QDateTime::currentMSecsSinceEpoch();
}

void WallClockTimer::checkForJump()
{
    const qint64 wallPassed = QDateTime::currentMSecsSinceEpoch() - m_wallAtCheck;
    const qint64 elapsed = m_elapsed.elapsed();
    resetJumpCheck();
    if (std::abs(wallPassed - elapsed) > JumpTolerance)
        Q_EMIT clockChanged();
}

} // namespace quillery
