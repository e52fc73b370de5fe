// Day wording at fixed moments, in more than one zone and locale.
#include "core/tasks/DayLabel.h"
#include "core/util/CalendarContext.h"

#include <gtest/gtest.h>

using namespace quillery;

namespace {

QDateTime utc(int y, int mo, int d, int h, int mi, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

// New York is UTC−5 in winter.
QDateTime newYork(int y, int mo, int d, int h, int mi, int s = 0)
{
    return utc(y, mo, d, h, mi, s).addSecs(5 * 3600);
}

} // namespace

TEST(DayLabel, wordsTheDayRelativeToTheLocalDayAndFollowsTheClockAcrossMidnightAndNewYear)
{
    ManualClock clock(newYork(2027, 12, 31, 23, 59, 30)); // a Friday, late
    const CalendarContext us(clock, "America/New_York", "en_US");
    EXPECT_EQ(dayLabel(newYork(2027, 12, 31, 0, 0), us), QStringLiteral("Today"));
    EXPECT_EQ(dayLabel(newYork(2028, 1, 1, 0, 0, 10), us), QStringLiteral("Tomorrow"));
    EXPECT_EQ(dayLabel(newYork(2027, 12, 30, 23, 0), us), QStringLiteral("Yesterday"));
    EXPECT_EQ(dayLabel(newYork(2027, 12, 6, 9, 0), us), QStringLiteral("Mon, Dec 6"));
    EXPECT_EQ(dayLabel(newYork(2028, 1, 3, 10, 0), us), QStringLiteral("Jan 3, 2028")) << "next year shows its year";
    // 03:00 UTC on New Year's Day is still the old year's last evening here.
    EXPECT_EQ(dayLabel(utc(2028, 1, 1, 3, 0), us), QStringLiteral("Today"));

    clock.advance(60 * 1000);
    EXPECT_EQ(dayLabel(newYork(2028, 1, 1, 0, 0, 10), us), QStringLiteral("Today"));
    EXPECT_EQ(dayLabel(newYork(2027, 12, 31, 23, 0), us), QStringLiteral("Yesterday"));
    EXPECT_EQ(dayLabel(newYork(2027, 12, 25, 10, 0), us), QStringLiteral("Dec 25, 2027"));
}

TEST(DayLabel, usesTheLocalesOwnWordsAndOrderInItsZone)
{
    ManualClock clock(utc(2027, 12, 31, 22, 30)); // 23:30 in Berlin, 17:30 in New York
    const CalendarContext de(clock, "Europe/Berlin", "de_DE");
    EXPECT_EQ(dayLabel(utc(2027, 12, 31, 12, 0), de), QStringLiteral("Heute"));
    EXPECT_EQ(dayLabel(utc(2027, 12, 31, 23, 30), de), QStringLiteral("Morgen")) << "already New Year's Day in Berlin";
    EXPECT_EQ(dayLabel(utc(2027, 12, 6, 12, 0), de), QStringLiteral("Mo., 6. Dez."));
    EXPECT_EQ(dayLabel(utc(2028, 1, 5, 12, 0), de), QStringLiteral("5. Jan. 2028"));
    // The same moment is a different day in another zone.
    EXPECT_EQ(dayLabel(utc(2027, 12, 31, 23, 30), CalendarContext(clock, "America/New_York", "en_US")),
        QStringLiteral("Today"));
}
