#include "ReminderDates.h"

namespace quillery::ReminderDates {

namespace {
constexpr int Monday = 2; // in a calendar that numbers Sunday 1
}

QDateTime nextMonday(const CalendarContext &calendar)
{
    const QDateTime now = calendar.now();
    int days = (Monday - calendar.weekday(now) + 7) % 7;
    if (days == 0)
        days = 7;
    return calendar.startOfDayAfter(now, days).value_or(now);
}

QDateTime combineDayAndTime(const CalendarContext &calendar, const QDateTime &day, const QDateTime &time)
{
    CalendarContext::Components wanted = calendar.components(day);
    const CalendarContext::Components clock = calendar.components(time);
    wanted.hour = clock.hour;
    wanted.minute = clock.minute;
    wanted.second = 0;
    return calendar.moment(wanted).value_or(day);
}

QDateTime defaultReminderTime(const CalendarContext &calendar, const std::optional<QDateTime> &due)
{
    const QDateTime now = calendar.now();
    const QDateTime base = due.value_or(now);
    CalendarContext::Components nineFields = calendar.components(now);
    nineFields.hour = 9;
    nineFields.minute = 0;
    nineFields.second = 0;
    const QDateTime nine = calendar.moment(nineFields).value_or(now);
    if (calendar.isSameDay(base, now) && nine <= now) {
        // The next moment after now whose minute is 0.
        CalendarContext::Components hour = calendar.components(now);
        hour.minute = 0;
        hour.second = 0;
        const std::optional<QDateTime> thisHour = calendar.moment(hour);
        if (!thisHour)
            return nine;
        QDateTime next = thisHour->addSecs(3600);
        while (next <= now)
            next = next.addSecs(3600);
        return next;
    }
    return nine;
}

QDateTime quickDay(const CalendarContext &calendar, int days)
{
    return calendar.startOfDayAfter(calendar.now(), days).value_or(calendar.now());
}

QDateTime quickDayTarget(const CalendarContext &calendar, QuickDay which)
{
    switch (which) {
    case QuickDay::Today:
        return quickDay(calendar, 0);
    case QuickDay::Tomorrow:
        return quickDay(calendar, 1);
    case QuickDay::Monday:
        return nextMonday(calendar);
    }
    return calendar.now();
}

bool isQuickDayOn(const CalendarContext &calendar, QuickDay which, const std::optional<QDateTime> &due)
{
    return due && calendar.isSameDay(*due, quickDayTarget(calendar, which));
}

bool showsDatePicker(const CalendarContext &calendar, bool pickingDate, const std::optional<QDateTime> &due)
{
    if (pickingDate)
        return true;
    if (!due)
        return false;
    for (QuickDay which : { QuickDay::Today, QuickDay::Tomorrow, QuickDay::Monday }) {
        if (isQuickDayOn(calendar, which, due))
            return false;
    }
    return true;
}

std::optional<QDateTime> alarmForNewDue(
    const CalendarContext &calendar, const std::optional<QDateTime> &alarm, const std::optional<QDateTime> &newDue)
{
    if (!alarm || !newDue)
        return alarm;
    return combineDayAndTime(calendar, *newDue, *alarm);
}

QDateTime reminderWhenSwitchedOn(const CalendarContext &calendar, const std::optional<QDateTime> &due)
{
    return combineDayAndTime(calendar, due.value_or(calendar.now()), defaultReminderTime(calendar, due));
}

bool hasPassed(const CalendarContext &calendar, const std::optional<QDateTime> &alarm)
{
    return alarm && *alarm <= calendar.now();
}

} // namespace quillery::ReminderDates
