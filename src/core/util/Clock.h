#pragma once

#include <QDateTime>
#include <QObject>

namespace quillery {

// The source of "now" for every rule that depends on the time of day. The
// program uses the system clock; tests use a ManualClock they can set.
class Clock : public QObject
{
    Q_OBJECT
public:
    virtual QDateTime now() const = 0;
    qint64 nowMSecs() const { return now().toMSecsSinceEpoch(); }

    // The real clock (UTC, millisecond precision).
    static const Clock &system();

Q_SIGNALS:
    // The clock was set rather than carried on by the passing of time:
    // whoever waits for a moment looks at the time again. The system clock
    // leaves this to the timers that watch the real one.
    void moved();
};

class ManualClock final : public Clock
{
    Q_OBJECT
public:
    explicit ManualClock(const QDateTime &start = QDateTime::fromSecsSinceEpoch(0, Qt::UTC))
        : m_now(start.toUTC())
    { }

    QDateTime now() const override { return m_now; }
    void set(const QDateTime &moment)
    {
        m_now = moment.toUTC();
        Q_EMIT moved();
    }
    void advance(qint64 msecs) { set(m_now.addMSecs(msecs)); }

private:
    QDateTime m_now;
};

} // namespace quillery
