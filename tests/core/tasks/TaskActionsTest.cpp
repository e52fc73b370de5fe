// The rules that go with changing a task, against a real store and an alarm
// double: blank titles, discarding, and the notification following edits.
#include "core/tasks/TaskActions.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/util/CalendarContext.h"
#include "support/MockAlarmService.h"
#include "support/TempStore.h"

#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::NiceAlarmService;
using quillery::test::TempStore;

namespace {

class TaskActionsTest : public ::testing::Test
{
protected:
    TaskActionsTest()
    {
        page = new Page(1, 0);
        store->insert(page);
    }

    QDateTime newYork(int y, int mo, int d, int h, int mi) const { return *calendar.moment({ y, mo, d, h, mi, 0 }); }

    TempStore store;
    NiceAlarmService alarms;
    TaskActions actions { &alarms };
    ManualClock clock;
    CalendarContext calendar { clock, "America/New_York", "en_US" };
    Page *page = nullptr;
};

} // namespace

TEST_F(TaskActionsTest, aDiscardedTaskLosesItsAlarmFirstAndOnlyOnce)
{
    TaskItem *pack = addTask(QStringLiteral("Pack"), 0, page, *store);
    TaskItem *blank = addTask(QStringLiteral(" \t"), 0, page, *store);
    EXPECT_CALL(alarms, cancel(pack)).WillOnce([](TaskItem *task) {
        EXPECT_FALSE(task->isDeleted()) << "the alarm must go before the task";
    });
    EXPECT_FALSE(actions.discardIfBlank(pack)) << "a named task stays";
    actions.discard(pack);
    actions.discard(pack);
    EXPECT_TRUE(pack->isDeleted());

    // Without an alarm service the task still goes.
    EXPECT_TRUE(TaskActions(nullptr).discardIfBlank(blank));
    EXPECT_TRUE(store->tasks().isEmpty());
}

TEST_F(TaskActionsTest, theReminderKeepsItsTimeOnTheNewDueDayAndTheNotificationFollows)
{
    TaskItem *task = addTask(QStringLiteral("Dentist"), 0, page, *store);
    task->setDue(newYork(2027, 1, 6, 0, 0));
    task->setAlarm(newYork(2027, 1, 6, 7, 45));

    EXPECT_CALL(alarms, schedule(task)).Times(2);
    task->setDue(newYork(2027, 1, 8, 0, 0));
    actions.dueChanged(task, calendar);
    EXPECT_EQ(task->alarm(), newYork(2027, 1, 8, 7, 45));
    task->setDue(std::nullopt);
    actions.dueChanged(task, calendar);
    EXPECT_EQ(task->alarm(), newYork(2027, 1, 8, 7, 45)) << "a cleared day leaves the reminder";
}

TEST_F(TaskActionsTest, notesResendTheNotificationOnlyWhenThereIsOneAndAGoneTaskNothing)
{
    TaskItem *task = addTask(QStringLiteral("Call"), 0, page, *store);
    EXPECT_CALL(alarms, schedule(task)).Times(3);
    actions.notesChanged(task); // no reminder: nothing to resend
    actions.textChanged(task);
    task->setAlarm(newYork(2027, 1, 6, 9, 0));
    actions.notesChanged(task);
    actions.textChanged(task);
    store->remove(task);
    actions.textChanged(task);
}
