#pragma once

#include <QDateTime>
#include <QString>

namespace quillery {

class CalendarContext;

// `moment` relative to the context's now, in the locale's words, with named
// forms where the language has them and units written out in full:
// "now", "5 minutes ago", "yesterday", "in 2 hours", "last week". The unit is
// the largest calendar unit (year, month, week, day, hour, minute, second) in
// which the two moments differ, counted in the context's calendar and zone.
QString relativeTime(const QDateTime &moment, const CalendarContext &context);

} // namespace quillery
