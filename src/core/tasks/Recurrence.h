#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace quillery {

// The dates of a repeat rule (iCalendar recurrence rule text), counted from a
// task's due day with libical's recurrence iterator. Works on calendar days:
// the time of day and the time zone are the caller's (see TaskActions).
namespace Recurrence {

struct Next {
    QDate day;
    // The rule to keep from now on: its count lowered by the occurrences
    // passed, and a due day past the 28th written into a monthly or yearly
    // rule so that it outlives a shorter month.
    QString rule;
};

// The occurrence that follows the one due on `due`, `today` being today:
// the next one after `due`, unless that one is already before today (the
// task is more than one period late), then the first one after today. None
// when the rule has no further occurrence (its end date or count is reached)
// or cannot be read.
std::optional<Next> next(const QString &rule, const QDate &due, const QDate &today);

// Whether `rule` is a recurrence rule libical can read.
bool isValid(const QString &rule);

} // namespace Recurrence
} // namespace quillery
