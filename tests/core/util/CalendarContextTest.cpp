#include "core/util/CalendarContext.h"

#include <gtest/gtest.h>

using namespace quillery;

namespace {
QDateTime utc(int y, int mo, int d, int h, int mi, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}
} // namespace

TEST(CalendarContext, wallClockFieldsFollowTheZone)
{
    ManualClock clock(utc(2027, 1, 5, 23, 30));
    const CalendarContext berlin(clock, "Europe/Berlin", "de_DE");
    const auto c = berlin.components(clock.now());
    EXPECT_EQ(c, (CalendarContext::Components { 2027, 1, 6, 0, 30, 0 }));
    EXPECT_EQ(berlin.startOfDay(clock.now()), utc(2027, 1, 5, 23, 0));
    EXPECT_EQ(berlin.weekday(clock.now()), 4) << "Wednesday";
}

TEST(CalendarContext, skippedTimesGoToTheNextExistingMoment)
{
    ManualClock clock;
    const CalendarContext berlin(clock, "Europe/Berlin", "en_US");
    // 2027-03-28 02:30 does not exist in Berlin; 03:00 CEST (01:00 UTC) is next.
    EXPECT_EQ(berlin.moment({ 2027, 3, 28, 2, 30, 0 }), utc(2027, 3, 28, 1, 0));
    // 2027-10-31 02:30 happens twice; the first is CEST (00:30 UTC).
    EXPECT_EQ(berlin.moment({ 2027, 10, 31, 2, 30, 0 }), utc(2027, 10, 31, 0, 30));
    // Days are calendar days, not 24 hours, across the change.
    EXPECT_EQ(berlin.startOfDayAfter(utc(2027, 3, 27, 12, 0), 1), utc(2027, 3, 27, 23, 0));
    EXPECT_EQ(berlin.startOfDayAfter(utc(2027, 3, 27, 12, 0), 2), utc(2027, 3, 28, 22, 0));
}
