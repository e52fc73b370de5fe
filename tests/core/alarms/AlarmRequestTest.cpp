#include "core/alarms/AlarmRequests.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/util/Uuid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace quillery;

namespace {

const QDateTime Now(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);

class AlarmRequestTest : public ::testing::Test
{
protected:
    ManualClock clock { Now };
    CalendarContext berlin { clock, "Europe/Berlin", "en_US" };
    Page page;
    TaskItem task { QStringLiteral("Call Ann") };
};

} // namespace

TEST_F(AlarmRequestTest, aTaskWithAnAlarmAheadBecomesACalendarRequestInTheUsersZone)
{
    page.setTitle(QStringLiteral("Errands"));
    task.setPage(&page);
    task.setNotes(QStringLiteral("about the boat"));
    task.setAlarm(Now.addSecs(90 * 60 + 15).addMSecs(700));

    const auto request = makeRequest(task, berlin);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->identifier, uuidString(task.id()));
    EXPECT_EQ(request->identifier, request->identifier.toUpper());
    EXPECT_EQ(request->title, QStringLiteral("Call Ann"));
    EXPECT_EQ(request->subtitle, QStringLiteral("Errands"));
    EXPECT_EQ(request->body, QStringLiteral("about the boat"));
    EXPECT_EQ(request->sound, NotificationRequest::Sound::Default);
    EXPECT_EQ(int(request->interruptionLevel), 1);
    ASSERT_EQ(request->trigger.kind(), NotificationTrigger::Kind::Calendar);
    EXPECT_FALSE(request->trigger.repeats());
    // 10:30:15.7 UTC is 11:30:15 in Berlin in winter; the fraction is dropped.
    EXPECT_EQ(request->trigger.components(), (CalendarContext::Components { 2026, 3, 1, 11, 30, 15 }));
}

TEST_F(AlarmRequestTest, noRequestForATaskThatIsDoneHasNoAlarmOrWhoseAlarmIsNotAhead)
{
    EXPECT_FALSE(makeRequest(task, berlin)) << "no alarm";
    task.setAlarm(Now);
    EXPECT_FALSE(makeRequest(task, berlin)) << "an alarm at this very moment is not ahead";
    task.setAlarm(Now.addSecs(-1));
    EXPECT_FALSE(makeRequest(task, berlin)) << "one second ago";
    task.setAlarm(Now.addSecs(60));
    task.setDone(true);
    EXPECT_FALSE(makeRequest(task, berlin)) << "done";
    task.setDone(false);
    EXPECT_TRUE(makeRequest(task, berlin));
}

TEST_F(AlarmRequestTest, emptyTextAndMissingPageTitlesFallBackToFixedWords)
{
    task.setText(QString());
    task.setAlarm(Now.addSecs(60));
    auto request = makeRequest(task, berlin);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->title, QStringLiteral("Task"));
    EXPECT_EQ(request->subtitle, QStringLiteral("Quillery")) << "no page";

    task.setPage(&page);
    request = makeRequest(task, berlin);
    EXPECT_EQ(request->subtitle, QStringLiteral("Quillery")) << "untitled page";
}

TEST_F(AlarmRequestTest, triggerDescriptions)
{
    const auto calendar = [](int day, int hour, int minute) {
        return NotificationTrigger::calendar({ 2026, 3, day, hour, minute, 0 });
    };
    EXPECT_EQ(triggerDescription(calendar(1, 11, 30), berlin), QStringLiteral("calendar → next 2026-03-01T10:30:00Z"));
    EXPECT_EQ(triggerDescription(calendar(1, 9, 59), berlin), QStringLiteral("unknown")) << "already passed";
    EXPECT_EQ(triggerDescription(NotificationTrigger::timeInterval(10.9), berlin), QStringLiteral("in 10s"));
    EXPECT_EQ(triggerDescription(NotificationTrigger::timeInterval(0.5), berlin), QStringLiteral("in 0s"));
    EXPECT_EQ(triggerDescription(NotificationTrigger(), berlin), QStringLiteral("unknown"));

    // 02:30 does not exist in Berlin on 29 March 2026: the clocks go from
    // 02:00 to 03:00, and the trigger fires at 03:00 summer time.
    EXPECT_EQ(triggerDescription(calendar(29, 2, 30), berlin), QStringLiteral("calendar → next 2026-03-29T01:00:00Z"));
    // The same fields elsewhere name another moment.
    const CalendarContext tokyo(clock, "Asia/Tokyo", "ja_JP");
    EXPECT_EQ(triggerDescription(calendar(29, 2, 30), tokyo), QStringLiteral("calendar → next 2026-03-28T17:30:00Z"));
}

TEST_F(AlarmRequestTest, triggersThatCanNeverFireAreInvalid)
{
    const auto error = [&](const NotificationTrigger &trigger) { return trigger.validationError(berlin); };
    EXPECT_TRUE(error(NotificationTrigger::calendar({ 2028, 2, 29, 8, 0, 0 })).isEmpty()) << "leap day";
    EXPECT_FALSE(error(NotificationTrigger::calendar({ 2026, 2, 29, 8, 0, 0 })).isEmpty());
    EXPECT_FALSE(error(NotificationTrigger::calendar({ 2026, 13, 1, 8, 0, 0 })).isEmpty());
    EXPECT_FALSE(error(NotificationTrigger::calendar({ 2026, 4, 31, 8, 0, 0 })).isEmpty());
    EXPECT_FALSE(error(NotificationTrigger::calendar({ 2026, 4, 1, 24, 0, 0 })).isEmpty());
    EXPECT_TRUE(error(NotificationTrigger::timeInterval(0.25)).isEmpty());
    EXPECT_FALSE(error(NotificationTrigger::timeInterval(0)).isEmpty());
    EXPECT_FALSE(error(NotificationTrigger::timeInterval(-5)).isEmpty());
    EXPECT_FALSE(error(NotificationTrigger::timeInterval(std::nan(""))).isEmpty());
    EXPECT_FALSE(error(NotificationTrigger::timeInterval(std::numeric_limits<double>::infinity())).isEmpty());
    EXPECT_FALSE(error(NotificationTrigger()).isEmpty());
}
