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

TEST(DayLabel, wordsTheDayRelativeToNowInEnglish)
{
    ManualClock clock(newYork(2027, 1, 5, 15, 0)); // a Tuesday afternoon
    const CalendarContext us(clock, "America/New_York", "en_US");
    EXPECT_EQ(dayLabel(newYork(2027, 1, 5, 0, 0), us), QStringLiteral("Today"));
    EXPECT_EQ(dayLabel(newYork(2027, 1, 5, 23, 59, 59), us), QStringLiteral("Today"));
    EXPECT_EQ(dayLabel(newYork(2027, 1, 6, 0, 0), us), QStringLiteral("Tomorrow"));
    EXPECT_EQ(dayLabel(newYork(2027, 1, 4, 23, 0), us), QStringLiteral("Yesterday"));
    EXPECT_EQ(dayLabel(newYork(2027, 1, 11, 9, 0), us), QStringLiteral("Mon, Jan 11"));
    EXPECT_EQ(dayLabel(newYork(2027, 1, 3, 9, 0), us), QStringLiteral("Sun, Jan 3"));
    EXPECT_EQ(dayLabel(newYork(2028, 1, 5, 9, 0), us), QStringLiteral("Jan 5, 2028"));
    EXPECT_EQ(dayLabel(newYork(2026, 12, 30, 9, 0), us), QStringLiteral("Dec 30, 2026"));
}

TEST(DayLabel, followsTheClockAcrossMidnight)
{
    ManualClock clock(newYork(2027, 3, 9, 23, 59, 30));
    const CalendarContext us(clock, "America/New_York", "en_US");
    const QDateTime justAfterMidnight = newYork(2027, 3, 10, 0, 0, 10);
    const QDateTime lateEvening = newYork(2027, 3, 9, 23, 0);
    EXPECT_EQ(dayLabel(justAfterMidnight, us), QStringLiteral("Tomorrow"));
    EXPECT_EQ(dayLabel(lateEvening, us), QStringLiteral("Today"));
    clock.advance(60 * 1000);
    EXPECT_EQ(dayLabel(justAfterMidnight, us), QStringLiteral("Today"));
    EXPECT_EQ(dayLabel(lateEvening, us), QStringLiteral("Yesterday"));
}

TEST(DayLabel, theYearChangesAtTheLocalNewYear)
{
    ManualClock clock(newYork(2027, 12, 31, 22, 0));
    const CalendarContext us(clock, "America/New_York", "en_US");
    EXPECT_EQ(dayLabel(newYork(2028, 1, 1, 10, 0), us), QStringLiteral("Tomorrow"));
    EXPECT_EQ(dayLabel(newYork(2028, 1, 3, 10, 0), us), QStringLiteral("Jan 3, 2028")) << "next year shows its year";
    EXPECT_EQ(dayLabel(newYork(2027, 12, 1, 10, 0), us), QStringLiteral("Wed, Dec 1"));
    // 03:00 UTC on New Year's Day is still the old year's last evening here.
    EXPECT_EQ(dayLabel(utc(2028, 1, 1, 3, 0), us), QStringLiteral("Today"));

    clock.set(newYork(2028, 1, 1, 0, 30));
    EXPECT_EQ(dayLabel(newYork(2027, 12, 31, 10, 0), us), QStringLiteral("Yesterday"));
    EXPECT_EQ(dayLabel(newYork(2027, 12, 25, 10, 0), us), QStringLiteral("Dec 25, 2027"));
    EXPECT_EQ(dayLabel(newYork(2028, 1, 4, 10, 0), us), QStringLiteral("Tue, Jan 4"));
}

TEST(DayLabel, usesTheLocalesOwnWordsAndOrder)
{
    ManualClock clock(utc(2027, 12, 31, 22, 30)); // 23:30 in Berlin, 17:30 in New York
    const CalendarContext de(clock, "Europe/Berlin", "de_DE");
    EXPECT_EQ(dayLabel(utc(2027, 12, 31, 12, 0), de), QStringLiteral("Heute"));
    EXPECT_EQ(dayLabel(utc(2027, 12, 31, 23, 30), de), QStringLiteral("Morgen")) << "already New Year's Day in Berlin";
    EXPECT_EQ(dayLabel(utc(2027, 12, 30, 12, 0), de), QStringLiteral("Gestern"));
    EXPECT_EQ(dayLabel(utc(2027, 12, 6, 12, 0), de), QStringLiteral("Mo., 6. Dez."));
    EXPECT_EQ(dayLabel(utc(2028, 1, 5, 12, 0), de), QStringLiteral("5. Jan. 2028"));

    // The same moment is a different day in another zone.
    const CalendarContext us(clock, "America/New_York", "en_US");
    EXPECT_EQ(dayLabel(utc(2027, 12, 31, 23, 30), us), QStringLiteral("Today"));

    const CalendarContext fr(clock, "Europe/Paris", "fr_FR");
    EXPECT_EQ(dayLabel(utc(2027, 12, 30, 12, 0), fr), QStringLiteral("Hier"));
}
