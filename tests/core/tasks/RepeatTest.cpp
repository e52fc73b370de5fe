// Repeating tasks: the dates a rule gives at the edges of months, years,
// weeks and daylight-saving changes, and ticking a repeating task in a real
// book, in the user's zone.
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/tasks/Recurrence.h"
#include "core/tasks/RepeatRule.h"
#include "core/tasks/TaskActions.h"
#include "core/util/CalendarContext.h"
#include "support/TempStore.h"

#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::TempStore;

namespace {

// Follows `rule` from `due` `times` times (today far back, so nothing is
// late), giving each day reached.
QList<QDate> chain(QString rule, QDate due, int times)
{
    QList<QDate> days;
    for (int i = 0; i < times; ++i) {
        const auto next = Recurrence::next(rule, due, QDate(2000, 1, 1));
        if (!next)
            break;
        days << next->day;
        due = next->day;
        rule = next->rule;
    }
    return days;
}

class RepeatingTaskTest : public ::testing::Test
{
protected:
    void use(const QByteArray &zone, const QDateTime &now)
    {
        clock.set(now);
        calendar = CalendarContext(clock, zone, "en_US");
    }
    QDateTime local(int y, int mo, int d, int h = 0, int mi = 0) const
    {
        return *calendar.moment({ y, mo, d, h, mi, 0 });
    }
    TaskItem *task(const QString &rule, const QDateTime &due, const std::optional<QDateTime> &alarm = {})
    {
        TaskItem *item = addTask(QStringLiteral("Water the plants"), 0, nullptr, *store);
        item->setRepeat(rule);
        item->setDue(due);
        item->setAlarm(alarm);
        return item;
    }
    CalendarContext::Components wall(const std::optional<QDateTime> &moment) const
    {
        return calendar.components(moment.value_or(QDateTime()));
    }

    TempStore store;
    ManualClock clock;
    CalendarContext calendar { clock, "Europe/Berlin", "en_US" };
    TaskActions actions { nullptr };
};

} // namespace

TEST(Recurrence, monthEndsAndLeapDaysComeBackToTheirDay)
{
    EXPECT_EQ(chain(QStringLiteral("FREQ=MONTHLY"), QDate(2027, 1, 31), 4),
        (QList<QDate> { { 2027, 2, 28 }, { 2027, 3, 31 }, { 2027, 4, 30 }, { 2027, 5, 31 } }));
    EXPECT_EQ(chain(QStringLiteral("FREQ=MONTHLY"), QDate(2028, 1, 30), 2),
        (QList<QDate> { { 2028, 2, 29 }, { 2028, 3, 30 } }));
    EXPECT_EQ(chain(QStringLiteral("FREQ=YEARLY"), QDate(2028, 2, 29), 4),
        (QList<QDate> { { 2029, 2, 28 }, { 2030, 2, 28 }, { 2031, 2, 28 }, { 2032, 2, 29 } }));
    EXPECT_EQ(chain(QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=-1"), QDate(2027, 1, 31), 2),
        (QList<QDate> { { 2027, 2, 28 }, { 2027, 3, 31 } }));
    EXPECT_EQ(chain(QStringLiteral("FREQ=MONTHLY;BYDAY=2TU"), QDate(2027, 1, 12), 2),
        (QList<QDate> { { 2027, 2, 9 }, { 2027, 3, 9 } }));
}

TEST(Recurrence, weekdaysSkipTheWeekendAndWeeksKeepTheirPhase)
{
    // Friday 8 January 2027.
    EXPECT_EQ(chain(QStringLiteral("FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR"), QDate(2027, 1, 8), 2),
        (QList<QDate> { { 2027, 1, 11 }, { 2027, 1, 12 } }));
    EXPECT_EQ(chain(QStringLiteral("FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH"), QDate(2027, 1, 4), 3),
        (QList<QDate> { { 2027, 1, 7 }, { 2027, 1, 18 }, { 2027, 1, 21 } }));
}

// A count is counted down, and ends the chain, by ticking: RepeatingTaskTest.
TEST(Recurrence, theEndDateEndsTheChainAndANonsenseRuleHasNoNext)
{
    EXPECT_EQ(chain(QStringLiteral("FREQ=WEEKLY;UNTIL=20270115"), QDate(2027, 1, 1), 5).size(), 2);
    EXPECT_FALSE(Recurrence::next(QStringLiteral("not a rule"), QDate(2027, 1, 1), QDate(2027, 1, 1)));
}

TEST(Recurrence, aLateTaskCountsFromItsDueDayForOnePeriodThenFromToday)
{
    const QDate today(2027, 3, 10); // a Wednesday
    EXPECT_EQ(Recurrence::next(QStringLiteral("FREQ=DAILY"), today.addDays(-1), today)->day, today);
    EXPECT_EQ(Recurrence::next(QStringLiteral("FREQ=WEEKLY"), QDate(2027, 3, 5), today)->day, QDate(2027, 3, 12));
    // Months late: the first occurrence after today, not a chain of copies;
    // a count still counts the ones skipped.
    const auto late = Recurrence::next(QStringLiteral("FREQ=WEEKLY;COUNT=40"), QDate(2026, 11, 4), today);
    EXPECT_EQ(late->day, QDate(2027, 3, 17));
    EXPECT_EQ(late->rule, QStringLiteral("FREQ=WEEKLY;COUNT=21"));
}

TEST(RepeatRules, theEditorsRulesReadBackAndOthersAreKeptAsCustom)
{
    const QDate due(2027, 1, 31);
    RepeatRule weekly;
    weekly.interval = 2;
    weekly.weekdays = { Qt::Monday, Qt::Thursday };
    weekly.end = RepeatRule::End::OnDate;
    weekly.until = QDate(2027, 6, 30);
    RepeatRule nth;
    nth.unit = RepeatRule::Unit::Month;
    nth.monthBy = RepeatRule::MonthBy::Weekday;
    nth.weekdayOrdinal = -1;
    nth.weekday = Qt::Friday;
    nth.end = RepeatRule::End::AfterCount;
    nth.count = 5;
    for (const RepeatRule &rule : { weekly, nth })
        EXPECT_EQ(RepeatRule::parse(rule.text(due)), rule) << rule.text(due).toStdString();

    for (const char *custom : { "FREQ=DAILY;BYHOUR=9,17", "FREQ=MONTHLY;BYMONTHDAY=31", "FREQ=YEARLY;BYWEEKNO=20",
             "FREQ=MONTHLY;BYDAY=MO,TU;BYSETPOS=2", "RSCALE=HEBREW;FREQ=YEARLY" }) {
        EXPECT_FALSE(RepeatRule::parse(QString::fromLatin1(custom))) << custom;
        EXPECT_EQ(RepeatRules::presetOf(QString::fromLatin1(custom)), RepeatPreset::Custom) << custom;
    }
    // A monthly task that moved to the 31st is still "Monthly".
    EXPECT_EQ(RepeatRules::presetOf(RepeatRules::presetText(RepeatPreset::Monthly, due)), RepeatPreset::Monthly);
    EXPECT_EQ(RepeatRules::presetOf(QStringLiteral("FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR")), RepeatPreset::Weekdays);
}

TEST(RepeatRules, theSummaryReadsTheRule)
{
    ManualClock clock;
    const CalendarContext calendar(clock, "Europe/Berlin", "en_US");
    const auto describe = [&](const char *rule) { return RepeatRules::describe(QString::fromLatin1(rule), calendar); };
    EXPECT_EQ(describe("FREQ=WEEKLY"), QStringLiteral("Every week"));
    EXPECT_EQ(describe("FREQ=WEEKLY;INTERVAL=2;BYDAY=TH,MO"), QStringLiteral("Every 2 weeks on Mon, Thu"));
    EXPECT_EQ(describe("FREQ=MONTHLY;BYMONTHDAY=28,29,30,31;BYSETPOS=-1"), QStringLiteral("Monthly on the last day"));
    EXPECT_EQ(describe("FREQ=MONTHLY;BYDAY=2TU;COUNT=3"), QStringLiteral("Monthly on the second Tuesday, 3 times"));
    EXPECT_EQ(describe("FREQ=DAILY;UNTIL=20270305"), QStringLiteral("Every day, until Mar 5, 2027"));
    EXPECT_EQ(describe("FREQ=HOURLY"), QStringLiteral("Repeats (custom rule)"));
    EXPECT_EQ(describe(""), QString());
}

TEST_F(RepeatingTaskTest, theReminderKeepsItsWallClockTimeAcrossDaylightSavingChanges)
{
    use("Europe/Berlin", local(2027, 3, 1));
    // 09:00 stays 09:00 when the night before was an hour shorter.
    TaskItem *morning = task(QStringLiteral("FREQ=DAILY"), local(2027, 3, 27), local(2027, 3, 27, 9, 0));
    EXPECT_TRUE(actions.complete(morning, calendar));
    EXPECT_FALSE(morning->done());
    EXPECT_EQ(morning->due(), local(2027, 3, 28));
    EXPECT_EQ(morning->alarm(), local(2027, 3, 28, 9, 0));

    // Santiago moves its clocks at midnight: the day of the change starts
    // at 01:00 in September.
    use("America/Santiago", QDateTime(QDate(2027, 3, 1), QTime(12, 0), Qt::UTC));
    TaskItem *santiago = task(QStringLiteral("FREQ=DAILY"), local(2027, 9, 4), local(2027, 9, 4, 20, 15));
    actions.complete(santiago, calendar);
    EXPECT_EQ(wall(santiago->due()), (CalendarContext::Components { 2027, 9, 5, 1, 0, 0 }));
    EXPECT_EQ(wall(santiago->alarm()), (CalendarContext::Components { 2027, 9, 5, 20, 15, 0 }));
}

TEST_F(RepeatingTaskTest, tickingMovesOnUntilTheLastOccurrenceAndUntickingNeverMovesBack)
{
    use("Europe/Berlin", local(2027, 5, 3, 8, 0));
    TaskItem *item = task(QStringLiteral("FREQ=DAILY;COUNT=3"), local(2027, 5, 3));
    // Twice in quick succession: two occurrences, not one lost or repeated.
    EXPECT_TRUE(actions.toggleDone(item, calendar));
    EXPECT_TRUE(actions.toggleDone(item, calendar));
    EXPECT_EQ(item->due(), local(2027, 5, 5));
    EXPECT_EQ(item->repeat(), QStringLiteral("FREQ=DAILY;COUNT=1"));
    EXPECT_FALSE(item->done());

    EXPECT_FALSE(actions.toggleDone(item, calendar)) << "the last one is ticked for good";
    EXPECT_TRUE(item->done());
    EXPECT_EQ(item->due(), local(2027, 5, 5));
    actions.toggleDone(item, calendar);
    EXPECT_FALSE(item->done());
    EXPECT_EQ(item->due(), local(2027, 5, 5));

    // What was ticked reached the book.
    const QUuid id = item->id();
    store.reopen();
    EXPECT_EQ(store->task(id)->repeat(), QStringLiteral("FREQ=DAILY;COUNT=1"));
}
