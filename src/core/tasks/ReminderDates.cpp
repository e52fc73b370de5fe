#include "ReminderDates.h"

#include <unicode/gregocal.h>
#include <unicode/timezone.h>

#include <memory>

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
    const CalendarContext::Components clock = calendar.components(time);
    return combineDayAndTime(calendar, day, clock.hour, clock.minute);
}

QDateTime combineDayAndTime(const CalendarContext &calendar, const QDateTime &day, int hour, int minute)
{
    CalendarContext::Components wanted = calendar.components(day);
    wanted.hour = hour;
    wanted.minute = minute;
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

namespace {

// A Gregorian calendar in the context's zone: date pickers count in it
// whatever calendar the locale uses.
std::unique_ptr<icu::GregorianCalendar> gregorian(const CalendarContext &calendar)
{
    UErrorCode status = U_ZERO_ERROR;
    auto cal = std::make_unique<icu::GregorianCalendar>(calendar.timeZone(), status);
    if (U_FAILURE(status))
        return nullptr;
    // The same reading of wall times as the context's own calendar.
    cal->setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
    cal->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
    return cal;
}

} // namespace

QDate pickerDay(const CalendarContext &calendar, const QDateTime &moment)
{
    const auto cal = gregorian(calendar);
    if (!cal)
        return {};
    UErrorCode status = U_ZERO_ERROR;
    cal->setTime(static_cast<UDate>(moment.toMSecsSinceEpoch()), status);
    const int year = cal->get(UCAL_EXTENDED_YEAR, status);
    const int month = cal->get(UCAL_MONTH, status) + 1;
    const int day = cal->get(UCAL_DATE, status);
    if (U_FAILURE(status))
        return {};
    return QDate(year, month, day);
}

QDateTime pickedDay(const CalendarContext &calendar, const QDate &day, const QDateTime &shown)
{
    const auto cal = gregorian(calendar);
    if (!cal || !day.isValid())
        return shown;
    const CalendarContext::Components clock = calendar.components(shown);
    cal->clear();
    cal->set(UCAL_EXTENDED_YEAR, day.year());
    cal->set(UCAL_MONTH, day.month() - 1);
    cal->set(UCAL_DATE, day.day());
    cal->set(UCAL_HOUR_OF_DAY, clock.hour);
    cal->set(UCAL_MINUTE, clock.minute);
    cal->set(UCAL_SECOND, clock.second);
    cal->set(UCAL_MILLISECOND, 0);
    UErrorCode status = U_ZERO_ERROR;
    const UDate when = cal->getTime(status);
    if (U_FAILURE(status))
        return shown;
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(when), Qt::UTC);
}

bool hasPassed(const CalendarContext &calendar, const std::optional<QDateTime> &alarm)
{
    return alarm && *alarm <= calendar.now();
}

} // namespace quillery::ReminderDates
