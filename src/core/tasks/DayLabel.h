#pragma once

#include <QDateTime>
#include <QString>

namespace quillery {

class CalendarContext;

// The wording of the calendar day of `date`, in the context's calendar, zone
// and locale: "Today", "Tomorrow" or "Yesterday" (in the locale's own words),
// else the short weekday, month and day for a day of the current year
// ("Mon, Jan 5"), else the short month, day and year ("Jan 5, 2027").
QString dayLabel(const QDateTime &date, const CalendarContext &calendar);

} // namespace quillery
