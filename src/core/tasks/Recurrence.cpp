#include "Recurrence.h"

#include "core/ical/IcalHandles.h"

#include <libical/ical.h>

#include <QRegularExpression>

#include <memory>

namespace quillery::Recurrence {

namespace {

// Enough for a daily rule more than a century late; a rule that yields
// nothing after its start ends here rather than looping.
constexpr int MaxSteps = 50'000;

struct IteratorDeleter {
    void operator()(icalrecur_iterator *iterator) const { icalrecur_iterator_free(iterator); }
};

bool empty(const short *values)
{
    return values[0] == ICAL_RECURRENCE_ARRAY_MAX;
}

bool hasByParts(const icalrecurrencetype &r)
{
    return !(empty(r.by_second) && empty(r.by_minute) && empty(r.by_hour) && empty(r.by_day) && empty(r.by_month_day)
        && empty(r.by_year_day) && empty(r.by_week_no) && empty(r.by_month) && empty(r.by_set_pos));
}

icaltimetype dateOf(const QDate &day)
{
    icaltimetype t = icaltime_null_time();
    t.is_date = 1;
    t.year = day.year();
    t.month = day.month();
    t.day = day.day();
    return t;
}

icalrecurrencetype parse(const QString &text)
{
    ical::ensureNonFatalErrors();
    return icalrecurrencetype_from_string(text.toUtf8().constData());
}

// A monthly rule counted from the 31st must come back to the 31st after
// a shorter month gave it the 30th; so the day is written into the rule
// (the day, or the last day of a month that ends before it).
QString withDayKept(const QString &rule, const icalrecurrencetype &r, const QDate &due)
{
    if (hasByParts(r))
        return rule;
    QString days;
    for (int d = 28; d <= due.day(); ++d)
        days += (days.isEmpty() ? QString() : QStringLiteral(",")) + QString::number(d);
    if (r.freq == ICAL_MONTHLY_RECURRENCE && due.day() >= 29)
        return rule + QStringLiteral(";BYMONTHDAY=%1;BYSETPOS=-1").arg(days);
    if (r.freq == ICAL_YEARLY_RECURRENCE && due.month() == 2 && due.day() == 29)
        return rule + QStringLiteral(";BYMONTHDAY=%1;BYMONTH=2;BYSETPOS=-1").arg(days);
    return rule;
}

} // namespace

bool isValid(const QString &rule)
{
    return !rule.isEmpty() && parse(rule).freq != ICAL_NO_RECURRENCE;
}

std::optional<Next> next(const QString &rule, const QDate &due, const QDate &today)
{
    if (!due.isValid())
        return std::nullopt;
    icalrecurrencetype r = parse(rule);
    if (r.freq == ICAL_NO_RECURRENCE)
        return std::nullopt;
    Next result { {}, withDayKept(rule, r, due) };
    if (result.rule != rule)
        r = parse(result.rule);

    // The count and end date are the ones left from `due` on; they are
    // checked here, so the iterator runs free of them.
    const int count = r.count;
    const QDate until = icaltime_is_null_time(r.until) ? QDate() : QDate(r.until.year, r.until.month, r.until.day);
    r.count = 0;
    r.until = icaltime_null_time();
    std::unique_ptr<icalrecur_iterator, IteratorDeleter> iterator(icalrecur_iterator_new(r, dateOf(due)));
    if (!iterator) {
        // Rules finer than a day want a start with a time.
        icaltimetype start = dateOf(due);
        start.is_date = 0;
        iterator.reset(icalrecur_iterator_new(r, start));
    }
    if (!iterator)
        return std::nullopt;

    int passed = 0; // occurrences after `due` so far
    for (int step = 0; step < MaxSteps; ++step) {
        const icaltimetype t = icalrecur_iterator_next(iterator.get());
        if (icaltime_is_null_time(t))
            return std::nullopt;
        const QDate day(t.year, t.month, t.day);
        if (!day.isValid() || day <= due)
            continue;
        ++passed;
        if ((count > 0 && passed >= count) || (until.isValid() && day > until))
            return std::nullopt;
        if (passed == 1 && day < today && count == 0) {
            // Late: straight on to the day after today, rather than
            // through every occurrence since (the iterator keeps the rule's
            // phase: every other week stays every other week).
            if (icalrecur_iterator_set_start(iterator.get(), dateOf(today.addDays(1))))
                continue;
        }
        if ((passed == 1 && day >= today) || day > today) {
            result.day = day;
            if (count > 0) {
                static const QRegularExpression countPart(
                    QStringLiteral("(^|;)COUNT=\\d+"), QRegularExpression::CaseInsensitiveOption);
                result.rule.replace(countPart, QStringLiteral("\\1COUNT=%1").arg(count - passed));
            }
            return result;
        }
    }
    return std::nullopt;
}

} // namespace quillery::Recurrence
