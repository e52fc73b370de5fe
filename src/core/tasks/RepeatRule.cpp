#include "RepeatRule.h"

#include "core/ical/IcalHandles.h"
#include "core/util/CalendarContext.h"

#include <libical/ical.h>

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

#include <algorithm>

namespace quillery {

namespace {

const QList<int> Workdays { Qt::Monday, Qt::Tuesday, Qt::Wednesday, Qt::Thursday, Qt::Friday };

QList<int> listOf(const short *values, int size)
{
    QList<int> out;
    for (int i = 0; i < size && values[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
        out.append(values[i]);
    return out;
}

// libical counts weekdays from Sunday = 1, Qt from Monday = 1.
int qtWeekday(int icalWeekday)
{
    return icalWeekday == ICAL_SUNDAY_WEEKDAY ? Qt::Sunday : icalWeekday - 1;
}

const char *dayCode(int qtDay)
{
    static const char *const codes[] = { "MO", "TU", "WE", "TH", "FR", "SA", "SU" };
    return codes[std::clamp(qtDay, 1, 7) - 1];
}

// BYMONTHDAY=28,…,day;BYSETPOS=-1: the day, or the last day of a month
// that ends before it.
QList<int> pinnedDays(int day)
{
    QList<int> days;
    for (int d = 28; d <= day; ++d)
        days.append(d);
    return days;
}

QString pinned(int day)
{
    QStringList days;
    for (int d : pinnedDays(day))
        days << QString::number(d);
    return QStringLiteral(";BYMONTHDAY=%1;BYSETPOS=-1").arg(days.join(u','));
}

QString ordinalWeekday(int ordinal, const QString &day)
{
    switch (ordinal) {
    case 1:
        //: "Monthly on the first Tuesday"
        return QCoreApplication::translate("RepeatRules", "first %1").arg(day);
    case 2:
        return QCoreApplication::translate("RepeatRules", "second %1").arg(day);
    case 3:
        return QCoreApplication::translate("RepeatRules", "third %1").arg(day);
    case 4:
        return QCoreApplication::translate("RepeatRules", "fourth %1").arg(day);
    default:
        return QCoreApplication::translate("RepeatRules", "last %1").arg(day);
    }
}

QString describeMonthly(const RepeatRule &rule, const QLocale &locale)
{
    const int n = rule.interval;
    if (rule.monthBy == RepeatRule::MonthBy::LastDay
        || (rule.monthBy == RepeatRule::MonthBy::Day && rule.monthDay == 31))
        return n == 1 ? QCoreApplication::translate("RepeatRules", "Monthly on the last day")
                      : QCoreApplication::translate("RepeatRules", "Every %n months on the last day", nullptr, n);
    if (rule.monthBy == RepeatRule::MonthBy::Weekday) {
        const QString day = ordinalWeekday(rule.weekdayOrdinal, locale.dayName(rule.weekday, QLocale::LongFormat));
        //: %1 is "second Tuesday" and the like
        return n == 1 ? QCoreApplication::translate("RepeatRules", "Monthly on the %1").arg(day)
                      : QCoreApplication::translate("RepeatRules", "Every %n months on the %1", nullptr, n).arg(day);
    }
    if (rule.monthDay == 0)
        return n == 1 ? QCoreApplication::translate("RepeatRules", "Every month")
                      : QCoreApplication::translate("RepeatRules", "Every %n months", nullptr, n);
    return n == 1
        ? QCoreApplication::translate("RepeatRules", "Monthly on day %1").arg(rule.monthDay)
        : QCoreApplication::translate("RepeatRules", "Every %n months on day %1", nullptr, n).arg(rule.monthDay);
}

QString describeBase(const RepeatRule &rule, const QLocale &locale)
{
    const int n = rule.interval;
    switch (rule.unit) {
    case RepeatRule::Unit::Day:
        return n == 1 ? QCoreApplication::translate("RepeatRules", "Every day")
                      : QCoreApplication::translate("RepeatRules", "Every %n days", nullptr, n);
    case RepeatRule::Unit::Week: {
        if (rule.weekdays.isEmpty())
            return n == 1 ? QCoreApplication::translate("RepeatRules", "Every week")
                          : QCoreApplication::translate("RepeatRules", "Every %n weeks", nullptr, n);
        if (n == 1 && rule.weekdays == Workdays)
            return QCoreApplication::translate("RepeatRules", "Every weekday");
        QStringList days;
        for (int day : rule.weekdays)
            days << locale.dayName(day, QLocale::ShortFormat);
        //: %1 lists short weekday names: "Every week on Mon, Thu"
        const QString list = days.join(QCoreApplication::translate("RepeatRules", ", "));
        return n == 1 ? QCoreApplication::translate("RepeatRules", "Every week on %1").arg(list)
                      : QCoreApplication::translate("RepeatRules", "Every %n weeks on %1", nullptr, n).arg(list);
    }
    case RepeatRule::Unit::Month:
        return describeMonthly(rule, locale);
    case RepeatRule::Unit::Year:
        break;
    }
    return n == 1 ? QCoreApplication::translate("RepeatRules", "Every year")
                  : QCoreApplication::translate("RepeatRules", "Every %n years", nullptr, n);
}

} // namespace

std::optional<RepeatRule> RepeatRule::parse(const QString &text)
{
    ical::ensureNonFatalErrors();
    const QByteArray utf8 = text.toUtf8();
    const icalrecurrencetype r = icalrecurrencetype_from_string(utf8.constData());
    if (r.rscale || r.skip != ICAL_SKIP_OMIT || r.week_start != ICAL_MONDAY_WEEKDAY || r.interval < 1)
        return std::nullopt;
    if (!listOf(r.by_second, ICAL_BY_SECOND_SIZE).isEmpty() || !listOf(r.by_minute, ICAL_BY_MINUTE_SIZE).isEmpty()
        || !listOf(r.by_hour, ICAL_BY_HOUR_SIZE).isEmpty() || !listOf(r.by_year_day, ICAL_BY_YEARDAY_SIZE).isEmpty()
        || !listOf(r.by_week_no, ICAL_BY_WEEKNO_SIZE).isEmpty())
        return std::nullopt;
    const QList<int> byDay = listOf(r.by_day, ICAL_BY_DAY_SIZE);
    const QList<int> byMonthDay = listOf(r.by_month_day, ICAL_BY_MONTHDAY_SIZE);
    const QList<int> byMonth = listOf(r.by_month, ICAL_BY_MONTH_SIZE);
    const QList<int> bySetPos = listOf(r.by_set_pos, ICAL_BY_SETPOS_SIZE);

    RepeatRule rule;
    rule.interval = r.interval;
    if (r.count > 0) {
        rule.end = End::AfterCount;
        rule.count = r.count;
    } else if (!icaltime_is_null_time(r.until)) {
        rule.end = End::OnDate;
        rule.until = QDate(r.until.year, r.until.month, r.until.day);
    }
    const bool lastDayPinned = bySetPos == QList<int> { -1 } && byDay.isEmpty() && !byMonthDay.isEmpty()
        && byMonthDay == pinnedDays(byMonthDay.last()) && byMonthDay.last() >= 29;
    switch (r.freq) {
    case ICAL_DAILY_RECURRENCE:
        rule.unit = Unit::Day;
        if (!byDay.isEmpty() || !byMonthDay.isEmpty() || !byMonth.isEmpty() || !bySetPos.isEmpty())
            return std::nullopt;
        return rule;
    case ICAL_WEEKLY_RECURRENCE:
        rule.unit = Unit::Week;
        if (!byMonthDay.isEmpty() || !byMonth.isEmpty() || !bySetPos.isEmpty())
            return std::nullopt;
        for (int day : byDay) {
            if (icalrecurrencetype_day_position(short(day)) != 0)
                return std::nullopt;
            rule.weekdays.append(qtWeekday(icalrecurrencetype_day_day_of_week(short(day))));
        }
        std::sort(rule.weekdays.begin(), rule.weekdays.end());
        rule.weekdays.erase(std::unique(rule.weekdays.begin(), rule.weekdays.end()), rule.weekdays.end());
        return rule;
    case ICAL_MONTHLY_RECURRENCE:
        rule.unit = Unit::Month;
        if (!byMonth.isEmpty())
            return std::nullopt;
        if (lastDayPinned) {
            rule.monthDay = byMonthDay.last();
        } else if (!bySetPos.isEmpty()) {
            return std::nullopt;
        } else if (byDay.isEmpty() && byMonthDay.size() == 1 && byMonthDay[0] == -1) {
            rule.monthBy = MonthBy::LastDay;
        } else if (byDay.isEmpty() && byMonthDay.size() == 1 && byMonthDay[0] >= 1 && byMonthDay[0] <= 28) {
            // Later days skip shorter months in other programs: such rules
            // are kept as they came.
            rule.monthDay = byMonthDay[0];
        } else if (byMonthDay.isEmpty() && byDay.size() == 1) {
            const int ordinal = icalrecurrencetype_day_position(short(byDay[0]));
            if (ordinal == 0 || ordinal < -1 || ordinal > 4)
                return std::nullopt;
            rule.monthBy = MonthBy::Weekday;
            rule.weekdayOrdinal = ordinal;
            rule.weekday = qtWeekday(icalrecurrencetype_day_day_of_week(short(byDay[0])));
        } else if (!byDay.isEmpty() || !byMonthDay.isEmpty()) {
            return std::nullopt;
        }
        return rule;
    case ICAL_YEARLY_RECURRENCE:
        rule.unit = Unit::Year;
        if (lastDayPinned && byMonth == QList<int> { 2 } && byMonthDay.last() == 29) {
            rule.monthDay = 29;
            return rule;
        }
        if (!byDay.isEmpty() || !byMonthDay.isEmpty() || !byMonth.isEmpty() || !bySetPos.isEmpty())
            return std::nullopt;
        return rule;
    default:
        return std::nullopt;
    }
}

QString RepeatRule::text(const QDate &due) const
{
    static const char *const frequencies[] = { "DAILY", "WEEKLY", "MONTHLY", "YEARLY" };
    QString out = QStringLiteral("FREQ=") + QLatin1String(frequencies[int(unit)]);
    // The parts in libical's order, so a rule comes back from a calendar
    // file as the same text.
    if (end == End::OnDate && until.isValid())
        out += QStringLiteral(";UNTIL=") + until.toString(QStringLiteral("yyyyMMdd"));
    else if (end == End::AfterCount)
        out += QStringLiteral(";COUNT=%1").arg(std::max(1, count));
    if (interval > 1)
        out += QStringLiteral(";INTERVAL=%1").arg(interval);
    const int day = monthDay > 0 ? monthDay : due.day();
    switch (unit) {
    case Unit::Day:
        break;
    case Unit::Week:
        if (!weekdays.isEmpty()) {
            QStringList codes;
            for (int d : weekdays)
                codes << QLatin1String(dayCode(d));
            out += QStringLiteral(";BYDAY=") + codes.join(u',');
        }
        break;
    case Unit::Month:
        if (monthBy == MonthBy::LastDay)
            out += QStringLiteral(";BYMONTHDAY=-1");
        else if (monthBy == MonthBy::Weekday)
            out += QStringLiteral(";BYDAY=%1%2").arg(weekdayOrdinal).arg(QLatin1String(dayCode(weekday)));
        else if (day >= 29)
            out += pinned(day);
        else if (day != due.day())
            out += QStringLiteral(";BYMONTHDAY=%1").arg(day);
        break;
    case Unit::Year:
        if ((monthDay == 29 || monthDay == 0) && due.month() == 2 && day == 29)
            out += QStringLiteral(";BYMONTHDAY=28,29;BYMONTH=2;BYSETPOS=-1");
        break;
    }
    return out;
}

namespace RepeatRules {

RepeatPreset presetOf(const QString &text)
{
    if (text.isEmpty())
        return RepeatPreset::Never;
    const std::optional<RepeatRule> rule = RepeatRule::parse(text);
    if (!rule || rule->interval != 1 || rule->end != RepeatRule::End::Never)
        return RepeatPreset::Custom;
    switch (rule->unit) {
    case RepeatRule::Unit::Day:
        return RepeatPreset::Daily;
    case RepeatRule::Unit::Week:
        if (rule->weekdays.isEmpty())
            return RepeatPreset::Weekly;
        return rule->weekdays == Workdays ? RepeatPreset::Weekdays : RepeatPreset::Custom;
    case RepeatRule::Unit::Month:
        // The due day's own day, written out once it passed the 28th.
        return rule->monthBy == RepeatRule::MonthBy::Day && (rule->monthDay == 0 || rule->monthDay >= 29)
            ? RepeatPreset::Monthly
            : RepeatPreset::Custom;
    case RepeatRule::Unit::Year:
        return RepeatPreset::Yearly;
    }
    return RepeatPreset::Custom;
}

QString presetText(RepeatPreset preset, const QDate &due)
{
    RepeatRule rule;
    switch (preset) {
    case RepeatPreset::Never:
    case RepeatPreset::Custom:
        return QString();
    case RepeatPreset::Daily:
        rule.unit = RepeatRule::Unit::Day;
        break;
    case RepeatPreset::Weekdays:
        rule.weekdays = Workdays;
        break;
    case RepeatPreset::Weekly:
        break;
    case RepeatPreset::Monthly:
        rule.unit = RepeatRule::Unit::Month;
        break;
    case RepeatPreset::Yearly:
        rule.unit = RepeatRule::Unit::Year;
        break;
    }
    return rule.text(due);
}

RepeatRule editable(const QString &text, const QDate &due)
{
    RepeatRule rule = RepeatRule::parse(text).value_or(RepeatRule {});
    if (!RepeatRule::parse(text))
        rule.weekdays = { due.dayOfWeek() };
    if (rule.monthBy != RepeatRule::MonthBy::Weekday) {
        // What "on the second Tuesday" offers: the due day's place in its month.
        rule.weekday = due.dayOfWeek();
        rule.weekdayOrdinal = due.addDays(7).month() != due.month() ? -1 : (due.day() - 1) / 7 + 1;
    }
    return rule;
}

QString describe(const QString &text, const CalendarContext &calendar)
{
    if (text.isEmpty())
        return QString();
    const std::optional<RepeatRule> rule = RepeatRule::parse(text);
    if (!rule)
        return QCoreApplication::translate("RepeatRules", "Repeats (custom rule)");
    const QLocale locale(QString::fromLatin1(calendar.localeName()));
    const QString base = describeBase(*rule, locale);
    if (rule->end == RepeatRule::End::AfterCount)
        //: The rule, then how many times it still comes: "Every day, 3 times"
        return QCoreApplication::translate("RepeatRules", "%1, %n times", nullptr, rule->count).arg(base);
    if (rule->end == RepeatRule::End::OnDate) {
        const auto noon = calendar.moment({ rule->until.year(), rule->until.month(), rule->until.day(), 12, 0, 0 });
        const QString until
            = noon ? calendar.format(*noon, QStringLiteral("yMMMd")) : rule->until.toString(Qt::ISODate);
        //: "Every week, until Mar 5, 2027"
        return QCoreApplication::translate("RepeatRules", "%1, until %2").arg(base, until);
    }
    return base;
}

} // namespace RepeatRules
} // namespace quillery
