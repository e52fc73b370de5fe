// The moments a reminder moves to from its notification, and the note of a
// late one, in a zone with daylight saving.
#include "core/alarms/ReminderActions.h"

#include <gtest/gtest.h>

using namespace quillery;

namespace {

class ReminderActionsTest : public ::testing::Test
{
protected:
    QDateTime at(int y, int mo, int d, int h, int mi, int s = 0) const
    {
        return *calendar.moment({ y, mo, d, h, mi, s });
    }

    ManualClock clock;
    CalendarContext calendar { clock, "Europe/Berlin", "en_GB" };
};

} // namespace

TEST_F(ReminderActionsTest, snoozingRingsTenMinutesOnToTheNearestMinute)
{
    clock.set(at(2027, 6, 8, 9, 0, 29));
    EXPECT_EQ(ReminderActions::snoozed(calendar), at(2027, 6, 8, 9, 10));
    clock.set(at(2027, 6, 8, 9, 0, 30));
    EXPECT_EQ(ReminderActions::snoozed(calendar), at(2027, 6, 8, 9, 11));
}

TEST_F(ReminderActionsTest, tomorrowKeepsTheTimeOfDayAcrossTheClockChangeAndMovesTheDueDayAlike)
{
    // The clocks go forward in the night to Sunday 28 March 2027.
    clock.set(at(2027, 3, 27, 10, 5));
    const auto moved = ReminderActions::tomorrow(calendar, at(2027, 3, 27, 10, 0), at(2027, 3, 27, 0, 0));
    EXPECT_EQ(moved.alarm, at(2027, 3, 28, 10, 0));
    EXPECT_EQ(moved.due, at(2027, 3, 28, 0, 0));

    // A reminder that rang days late (the machine was off) rings tomorrow,
    // not the day after its old one; its due day moves as far.
    clock.set(at(2027, 6, 10, 8, 0));
    const auto late = ReminderActions::tomorrow(calendar, at(2027, 6, 7, 18, 30), at(2027, 6, 8, 0, 0));
    EXPECT_EQ(late.alarm, at(2027, 6, 11, 18, 30));
    EXPECT_EQ(late.due, at(2027, 6, 12, 0, 0));

    const auto bare = ReminderActions::tomorrow(calendar, std::nullopt, std::nullopt);
    EXPECT_EQ(bare.alarm, at(2027, 6, 11, 8, 0));
    EXPECT_EQ(bare.due, std::nullopt);
}

TEST_F(ReminderActionsTest, aLateReminderSaysWhenItWasDueAndHowLongAgo)
{
    clock.set(at(2027, 6, 8, 12, 0, 40));
    EXPECT_EQ(
        ReminderActions::latenessNote(calendar, at(2027, 6, 8, 10, 0)), QStringLiteral("Due 10:00 — 2 hours ago"));
    EXPECT_EQ(
        ReminderActions::latenessNote(calendar, at(2027, 6, 8, 11, 55)), QStringLiteral("Due 11:55 — 5 minutes ago"));
    EXPECT_TRUE(ReminderActions::latenessNote(calendar, at(2027, 6, 8, 12, 0)).isEmpty()) << "on time";
    EXPECT_EQ(ReminderActions::latenessNote(calendar, at(2027, 6, 5, 9, 30)),
        QStringLiteral("Due 5 Jun, 09:30 — 3 days ago"));
}
