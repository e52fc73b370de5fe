// The card's date rules at fixed moments, in a zone with daylight saving.
#include "core/tasks/ReminderDates.h"

#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::ReminderDates;

namespace {

// Wall-clock times in a zone, Berlin unless told.
class Zone
{
public:
    explicit Zone(const char *zone = "Europe/Berlin", const char *locale = "en_GB")
        : calendar(clock, zone, locale)
    { }

    QDateTime at(int y, int mo, int d, int h, int mi) const { return *calendar.moment({ y, mo, d, h, mi, 0 }); }
    void setNow(int y, int mo, int d, int h, int mi) { clock.set(at(y, mo, d, h, mi)); }
    QString wall(const QDateTime &moment) const
    {
        const auto c = calendar.components(moment);
        return QString::asprintf("%d-%02d-%02d %02d:%02d", c.year, c.month, c.day, c.hour, c.minute);
    }

    ManualClock clock;
    CalendarContext calendar;
};

} // namespace

TEST(ReminderDates, switchingTheReminderOnPicksNineOrForTodayPastNineTheNextFullHour)
{
    Zone b;
    // Tuesday 2027-06-08.
    const auto switchedOn = [&](QuickDay day, int h, int mi) {
        b.setNow(2027, 6, 8, h, mi);
        return b.wall(reminderWhenSwitchedOn(b.calendar, quickDayTarget(b.calendar, day)));
    };
    EXPECT_EQ(switchedOn(QuickDay::Today, 8, 30), QStringLiteral("2027-06-08 09:00"));
    EXPECT_EQ(switchedOn(QuickDay::Today, 9, 0), QStringLiteral("2027-06-08 10:00"));
    // Late in the evening the next full hour is midnight: its time of day is
    // placed on today, which has passed.
    EXPECT_EQ(switchedOn(QuickDay::Today, 23, 30), QStringLiteral("2027-06-08 00:00"));
    EXPECT_TRUE(hasPassed(b.calendar, reminderWhenSwitchedOn(b.calendar, quickDayTarget(b.calendar, QuickDay::Today))));
    for (int hour : { 0, 9, 23 })
        EXPECT_EQ(switchedOn(QuickDay::Tomorrow, hour, 30), QStringLiteral("2027-06-09 09:00")) << hour;

    // Without a due day the reminder lands on today as well.
    b.setNow(2027, 6, 8, 8, 30);
    EXPECT_EQ(b.wall(reminderWhenSwitchedOn(b.calendar, std::nullopt)), QStringLiteral("2027-06-08 09:00"));
}

TEST(ReminderDates, onAMondayMondayMeansNextWeekAndTodayIsTheLitPill)
{
    Zone b;
    b.setNow(2027, 6, 7, 10, 0); // a Monday
    EXPECT_EQ(b.wall(nextMonday(b.calendar)), QStringLiteral("2027-06-14 00:00"));
    const QDateTime today = quickDayTarget(b.calendar, QuickDay::Today);
    EXPECT_TRUE(isQuickDayOn(b.calendar, QuickDay::Today, today));
    EXPECT_FALSE(isQuickDayOn(b.calendar, QuickDay::Monday, today));
    EXPECT_FALSE(isQuickDayOn(b.calendar, QuickDay::Today, std::nullopt));

    b.setNow(2027, 6, 13, 23, 59); // Sunday night
    EXPECT_EQ(b.wall(nextMonday(b.calendar)), QStringLiteral("2027-06-14 00:00"));
}

TEST(ReminderDates, daylightSavingChangesKeepDaysAndTimesOfDay)
{
    Zone b;
    // Saturday before the spring change (Sunday 2027-03-28, 02:00 → 03:00).
    b.setNow(2027, 3, 27, 22, 0);
    EXPECT_EQ(b.wall(quickDayTarget(b.calendar, QuickDay::Tomorrow)), QStringLiteral("2027-03-28 00:00"));
    EXPECT_EQ(b.wall(nextMonday(b.calendar)), QStringLiteral("2027-03-29 00:00"));
    EXPECT_EQ(nextMonday(b.calendar).toUTC(), QDateTime(QDate(2027, 3, 28), QTime(22, 0), Qt::UTC));

    // A reminder at 02:30 moved onto the change day rings at 03:00, the next
    // time that exists.
    const QDateTime alarm = b.at(2027, 3, 20, 2, 30);
    EXPECT_EQ(b.wall(*alarmForNewDue(b.calendar, alarm, b.at(2027, 3, 28, 0, 0))), QStringLiteral("2027-03-28 03:00"));
    EXPECT_EQ(alarmForNewDue(b.calendar, std::nullopt, b.at(2027, 3, 28, 0, 0)), std::nullopt) << "none to move";

    // Before nine on the change day the default is still nine.
    b.setNow(2027, 3, 28, 1, 30);
    EXPECT_EQ(b.wall(reminderWhenSwitchedOn(b.calendar, quickDayTarget(b.calendar, QuickDay::Today))),
        QStringLiteral("2027-03-28 09:00"));

    // In autumn (2027-10-31, 03:00 → 02:00) the day is 25 hours long and
    // tomorrow still starts at midnight.
    b.setNow(2027, 10, 31, 12, 0);
    EXPECT_EQ(b.wall(quickDayTarget(b.calendar, QuickDay::Tomorrow)), QStringLiteral("2027-11-01 00:00"));
    EXPECT_EQ(b.wall(combineDayAndTime(b.calendar, b.at(2027, 10, 31, 0, 0), b.at(2027, 1, 1, 2, 30))),
        QStringLiteral("2027-10-31 02:30"));
}

TEST(ReminderDates, aZoneWhoseDayBeginsAtOneStillGetsItsQuickDaysAndReminders)
{
    // Chile moves its clocks at midnight: Sunday 2027-09-05 starts at 01:00.
    Zone z("America/Santiago", "es_CL");
    const CalendarContext &santiago = z.calendar;
    z.setNow(2027, 9, 4, 10, 0); // Saturday morning
    const QDateTime sunday = quickDayTarget(santiago, QuickDay::Tomorrow);
    EXPECT_EQ(z.wall(sunday), QStringLiteral("2027-09-05 01:00"));
    EXPECT_TRUE(isQuickDayOn(santiago, QuickDay::Tomorrow, sunday));
    EXPECT_FALSE(showsDatePicker(santiago, false, sunday));
    EXPECT_EQ(z.wall(nextMonday(santiago)), QStringLiteral("2027-09-06 00:00"));
    EXPECT_EQ(z.wall(reminderWhenSwitchedOn(santiago, sunday)), QStringLiteral("2027-09-05 09:00"));

    // Late on Saturday the next full hour is Sunday 01:00; its time of day
    // lands on Saturday, which has passed.
    z.setNow(2027, 9, 4, 23, 30);
    const QDateTime reminder = reminderWhenSwitchedOn(santiago, quickDayTarget(santiago, QuickDay::Today));
    EXPECT_EQ(z.wall(reminder), QStringLiteral("2027-09-04 01:00"));
    EXPECT_TRUE(hasPassed(santiago, reminder));

    // A Friday 07:45 reminder moved past the change keeps 07:45.
    EXPECT_EQ(z.wall(*alarmForNewDue(santiago, z.at(2027, 9, 3, 7, 45), nextMonday(santiago))),
        QStringLiteral("2027-09-06 07:45"));
}

TEST(ReminderDates, theDatePickerCountsGregorianDaysAndKeepsTheShownTimeOfDay)
{
    Zone b;
    b.setNow(2027, 6, 8, 14, 25);
    // Late in the evening in Berlin is already the next day in UTC.
    EXPECT_EQ(pickerDay(b.calendar, b.at(2027, 6, 8, 23, 30)), QDate(2027, 6, 8));
    EXPECT_EQ(pickerDay(b.calendar, b.at(2027, 6, 9, 0, 30)), QDate(2027, 6, 9));

    // The picked day keeps the time of day the picker showed.
    EXPECT_EQ(
        b.wall(pickedDay(b.calendar, QDate(2027, 7, 1), b.at(2027, 6, 9, 0, 0))), QStringLiteral("2027-07-01 00:00"));
    // A time the picked day skips becomes the next time that exists.
    EXPECT_EQ(
        b.wall(pickedDay(b.calendar, QDate(2027, 3, 28), b.at(2027, 3, 1, 2, 30))), QStringLiteral("2027-03-28 03:00"));
    EXPECT_EQ(pickedDay(b.calendar, QDate(), b.calendar.now()), b.calendar.now());

    // A locale that counts years differently still picks the same days.
    ManualClock clock(b.calendar.now());
    const CalendarContext buddhist(clock, "Asia/Bangkok", "th_TH");
    const QDateTime picked = pickedDay(buddhist, QDate(2027, 6, 20), clock.now());
    EXPECT_EQ(pickerDay(buddhist, picked), QDate(2027, 6, 20));
    EXPECT_TRUE(buddhist.isSameDay(picked, *buddhist.startOfDayAfter(clock.now(), 12)));

    // The time picker's hour and minute on a day.
    EXPECT_EQ(
        b.wall(combineDayAndTime(b.calendar, b.at(2027, 6, 11, 0, 0), 7, 45)), QStringLiteral("2027-06-11 07:45"));
}
