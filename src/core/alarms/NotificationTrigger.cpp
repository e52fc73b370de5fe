#include "NotificationTrigger.h"

#include <QCoreApplication>

#include <cmath>

namespace quillery {

NotificationTrigger NotificationTrigger::calendar(const CalendarContext::Components &components)
{
    NotificationTrigger trigger;
    trigger.m_kind = Kind::Calendar;
    trigger.m_components = components;
    return trigger;
}

NotificationTrigger NotificationTrigger::timeInterval(double seconds)
{
    NotificationTrigger trigger;
    trigger.m_kind = Kind::TimeInterval;
    trigger.m_seconds = seconds;
    return trigger;
}

std::optional<QDateTime> NotificationTrigger::calendarMoment(const CalendarContext &calendar) const
{
    if (m_kind != Kind::Calendar || !validationError(calendar).isEmpty())
        return std::nullopt;
    return calendar.moment(m_components);
}

std::optional<QDateTime> NotificationTrigger::nextTriggerDate(const CalendarContext &calendar) const
{
    const QDateTime now = calendar.now();
    switch (m_kind) {
    case Kind::Calendar: {
        auto moment = calendarMoment(calendar);
        if (moment && *moment > now)
            return moment;
        return std::nullopt;
    }
    case Kind::TimeInterval:
        if (!std::isfinite(m_seconds) || m_seconds <= 0)
            return std::nullopt;
        return now.addMSecs(qint64(std::llround(m_seconds * 1000)));
    case Kind::None:
        break;
    }
    return std::nullopt;
}

bool NotificationTrigger::isValidInterval(double seconds)
{
    // An interval of more than a century is as good as never.
    return std::isfinite(seconds) && seconds > 0 && seconds <= 3.2e9;
}

QString NotificationTrigger::validationError(const CalendarContext &calendar) const
{
    switch (m_kind) {
    case Kind::None:
        return QCoreApplication::translate("NotificationTrigger", "The request has no trigger.");
    case Kind::TimeInterval:
        if (!isValidInterval(m_seconds))
            return QCoreApplication::translate("NotificationTrigger", "The time interval must be greater than 0.");
        return {};
    case Kind::Calendar:
        break;
    }
    const CalendarContext::Components &c = m_components;
    const auto inRange = [](int value, int low, int high) { return value >= low && value <= high; };
    bool valid = inRange(c.hour, 0, 23) && inRange(c.minute, 0, 59) && inRange(c.second, 0, 59)
        && inRange(c.month, 1, 13) && inRange(c.day, 1, 31) && inRange(c.year, -100000, 100000);
    if (valid) {
        // The calendar is lenient: a day or month that does not exist rolls
        // over into the next one. Reading the date back catches that.
        CalendarContext::Components noon = c;
        noon.hour = 12;
        noon.minute = noon.second = 0;
        const auto moment = calendar.moment(noon);
        valid = moment.has_value();
        if (valid) {
            const CalendarContext::Components back = calendar.components(*moment);
            valid = back.year == c.year && back.month == c.month && back.day == c.day;
        }
    }
    if (!valid)
        return QCoreApplication::translate("NotificationTrigger", "The date of the calendar trigger does not exist.");
    return {};
}

} // namespace quillery
