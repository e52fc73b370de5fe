#pragma once

#include <QDateTime>

namespace quillery {

// The source of "now" for every rule that depends on the time of day. The
// program uses the system clock; tests use a ManualClock they can set.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;

    // The real clock (UTC, millisecond precision).
    static const Clock &system();
};

class ManualClock final : public Clock
{
public:
    explicit ManualClock(QDateTime start = QDateTime::fromSecsSinceEpoch(0, Qt::UTC))
        : m_now(start.toUTC())
    { }

    QDateTime now() const override { return m_now; }
    void set(const QDateTime &moment) { m_now = moment.toUTC(); }
    void advance(qint64 msecs) { m_now = m_now.addMSecs(msecs); }

private:
    QDateTime m_now;
};

} // namespace quillery
