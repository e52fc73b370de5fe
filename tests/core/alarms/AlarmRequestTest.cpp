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

TEST_F(AlarmRequestTest, anOpenTaskWithAnAlarmAheadBecomesACalendarRequestInTheUsersZone)
{
    page.setTitle(QStringLiteral("Errands"));
    task.setPage(&page);
    task.setAlarm(Now.addSecs(90 * 60 + 15).addMSecs(700));
    auto request = makeRequest(task, berlin);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->identifier, uuidString(task.id()).toUpper());
    EXPECT_EQ(request->subtitle, QStringLiteral("Errands"));
    // 10:30:15.7 UTC is 11:30:15 in Berlin in winter; the fraction is dropped.
    EXPECT_EQ(request->trigger.components(), (CalendarContext::Components { 2026, 3, 1, 11, 30, 15 }));

    task.setText(QString());
    page.setTitle(QString());
    request = makeRequest(task, berlin);
    EXPECT_EQ(request->title, QStringLiteral("Task"));
    EXPECT_EQ(request->subtitle, QStringLiteral("Quillery")) << "untitled page";

    task.setAlarm(Now);
    // Done tasks and tasks without an alarm: AlarmSchedulerTest.
    EXPECT_FALSE(makeRequest(task, berlin)) << "an alarm at this very moment is not ahead";
}

TEST_F(AlarmRequestTest, aTimeThatDoesNotExistFiresAtTheNextOneAndImpossibleTriggersAreInvalid)
{
    const auto calendar = [](int day, int hour, int minute) {
        return NotificationTrigger::calendar({ 2026, 3, day, hour, minute, 0 });
    };
    // 02:30 does not exist in Berlin on 29 March 2026: the clocks go from
    // 02:00 to 03:00, and the trigger fires at 03:00 summer time.
    EXPECT_EQ(triggerDescription(calendar(29, 2, 30), berlin), QStringLiteral("calendar → next 2026-03-29T01:00:00Z"));
    // The same fields elsewhere name another moment.
    const CalendarContext tokyo(clock, "Asia/Tokyo", "ja_JP");
    EXPECT_EQ(triggerDescription(calendar(29, 2, 30), tokyo), QStringLiteral("calendar → next 2026-03-28T17:30:00Z"));
    EXPECT_EQ(triggerDescription(calendar(1, 9, 59), berlin), QStringLiteral("unknown")) << "already passed";

    const auto error = [&](const NotificationTrigger &trigger) { return trigger.validationError(berlin); };
    EXPECT_TRUE(error(NotificationTrigger::calendar({ 2028, 2, 29, 8, 0, 0 })).isEmpty()) << "leap day";
    EXPECT_TRUE(error(NotificationTrigger::timeInterval(0.25)).isEmpty());
    for (const NotificationTrigger &never : { NotificationTrigger::calendar({ 2026, 2, 29, 8, 0, 0 }),
             NotificationTrigger::calendar({ 2026, 13, 1, 8, 0, 0 }),
             NotificationTrigger::calendar({ 2026, 4, 31, 8, 0, 0 }),
             NotificationTrigger::calendar({ 2026, 4, 1, 24, 0, 0 }), NotificationTrigger::timeInterval(0),
             NotificationTrigger::timeInterval(-5), NotificationTrigger::timeInterval(std::nan("")),
             NotificationTrigger::timeInterval(std::numeric_limits<double>::infinity()), NotificationTrigger() })
        EXPECT_FALSE(error(never).isEmpty());
}
