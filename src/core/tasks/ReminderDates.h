#pragma once

#include "core/util/CalendarContext.h"

#include <QDate>
#include <QDateTime>

#include <optional>

namespace quillery {

// The date rules of the task card's "When" section: the quick due days, the
// reminder's default time and how a reminder follows its due day. All work
// in the user's calendar and time zone (the context), from its clock's now.
namespace ReminderDates {

// The start of the next Monday after now (on a Monday, the Monday a week
// later).
QDateTime nextMonday(const CalendarContext &calendar);

// `day`'s date with the hour and minute of `time` and no seconds. A time that
// the day skips (daylight saving) gives the next existing moment; a date the
// calendar cannot form gives `day` itself.
QDateTime combineDayAndTime(const CalendarContext &calendar, const QDateTime &day, const QDateTime &time);

// The same with the hour and minute given as numbers (a time picker's).
QDateTime combineDayAndTime(const CalendarContext &calendar, const QDateTime &day, int hour, int minute);

// The time a newly switched-on reminder gets: 09:00, unless the due day is
// today and 09:00 has come, then the next full hour after now. Only its hour
// and minute matter.
QDateTime defaultReminderTime(const CalendarContext &calendar, const std::optional<QDateTime> &due);

// The start of today plus `days` (now when the calendar cannot form it).
QDateTime quickDay(const CalendarContext &calendar, int days);

enum class QuickDay { Today, Tomorrow, Monday };
QDateTime quickDayTarget(const CalendarContext &calendar, QuickDay which);

// A quick-date button is on when the due day is its target day.
bool isQuickDayOn(const CalendarContext &calendar, QuickDay which, const std::optional<QDateTime> &due);

// The date picker shows while asked for, or while the due day is none of the
// three quick days.
bool showsDatePicker(const CalendarContext &calendar, bool pickingDate, const std::optional<QDateTime> &due);

// The reminder after the due day changed: it keeps its time of day on the
// new day; without a new due day it is left as it is.
std::optional<QDateTime> alarmForNewDue(
    const CalendarContext &calendar, const std::optional<QDateTime> &alarm, const std::optional<QDateTime> &newDue);

// The reminder "Remind me" switches on: the default time on the due day (or
// today when there is none).
QDateTime reminderWhenSwitchedOn(const CalendarContext &calendar, const std::optional<QDateTime> &due);

// The day a date picker shows for `moment`: its date on the Gregorian
// calendar in the context's time zone, whatever calendar the user's locale
// counts in.
QDate pickerDay(const CalendarContext &calendar, const QDateTime &moment);

// What a date picker that showed `shown` writes when `day` is picked: that
// day at the time of day `shown` had (the next existing time where the day
// skips it); `shown` itself when the calendar cannot form it.
QDateTime pickedDay(const CalendarContext &calendar, const QDate &day, const QDateTime &shown);

// "That time has already passed." is shown while the reminder is not later
// than now.
bool hasPassed(const CalendarContext &calendar, const std::optional<QDateTime> &alarm);

} // namespace ReminderDates
} // namespace quillery
