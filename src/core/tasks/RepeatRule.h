#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace quillery {

class CalendarContext;

// A repeat rule as the card's editor shows it: every N days, weeks (on
// chosen weekdays), months (on a day of the month, an nth weekday or the
// last day) or years, ending never, on a date or after a number of times.
// Stored as iCalendar recurrence rule text; rules this cannot describe (from
// an imported calendar) are kept as text and never rewritten by it.
struct RepeatRule {
    enum class Unit { Day, Week, Month, Year };
    enum class MonthBy { Day, Weekday, LastDay };
    enum class End { Never, OnDate, AfterCount };

    Unit unit = Unit::Week;
    int interval = 1;
    // Weekly: Qt::Monday … Qt::Sunday; empty repeats on the due day's weekday.
    QList<int> weekdays;
    MonthBy monthBy = MonthBy::Day;
    // Monthly by day (and yearly): the day of the month kept when shorter
    // months end earlier; 0 takes it from the due day.
    int monthDay = 0;
    // Monthly by weekday: 1 to 4, or -1 for the last, of `weekday`.
    int weekdayOrdinal = 1;
    int weekday = Qt::Monday;
    End end = End::Never;
    QDate until;
    int count = 1;

    friend bool operator==(const RepeatRule &, const RepeatRule &) = default;

    // The rule behind `text`, when the editor can show it.
    static std::optional<RepeatRule> parse(const QString &text);
    // As recurrence rule text, for a task due on `due`.
    QString text(const QDate &due) const;
};

// The one-tap choices of the card's "Repeat" row.
enum class RepeatPreset { Never, Daily, Weekdays, Weekly, Monthly, Yearly, Custom };

namespace RepeatRules {

// Which pill `text` lights: Custom for every rule that is none of the others.
RepeatPreset presetOf(const QString &text);
// The rule a pill writes for a task due on `due` (empty for Never and Custom).
QString presetText(RepeatPreset preset, const QDate &due);
// The editor's starting point for a task due on `due`: its current rule when
// the editor can show it, otherwise weekly on the due day's weekday.
RepeatRule editable(const QString &text, const QDate &due);

// How the rule reads in a task's summary: "Every 2 weeks on Mon, Thu",
// "Monthly on the last day", "Repeats (custom rule)" for rules the editor
// cannot show. Empty for no rule.
QString describe(const QString &text, const CalendarContext &calendar);

} // namespace RepeatRules
} // namespace quillery
