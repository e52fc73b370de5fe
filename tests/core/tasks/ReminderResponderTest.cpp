// Acting on a reminder's notification, against a real store: what reaches
// the book and the alarms, and a task that is gone.
#include "core/tasks/ReminderResponder.h"
#include "core/alarms/ReminderActions.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/util/Uuid.h"
#include "support/MockAlarmService.h"
#include "support/TempStore.h"

#include <gtest/gtest.h>

using namespace quillery;
using ::testing::Exactly;

TEST(ReminderResponder, eachActionWritesTheTaskAndReschedulesIt)
{
    quillery::test::TempStore store;
    quillery::test::NiceAlarmService alarms;
    ManualClock clock;
    const CalendarContext calendar(clock, "UTC", "en_GB");
    clock.set(QDateTime(QDate(2027, 6, 8), QTime(10, 0, 40), Qt::UTC));
    auto *page = new Page(1, 0);
    store->insert(page);
    TaskItem *task = addTask(QStringLiteral("Pay rent"), 0, page, *store);
    task->setDue(QDateTime(QDate(2027, 6, 8), QTime(0, 0), Qt::UTC));
    task->setAlarm(QDateTime(QDate(2027, 6, 8), QTime(10, 0), Qt::UTC));
    const QString id = uuidString(task->id());
    const ReminderResponder responder(*store, &alarms, calendar);

    EXPECT_CALL(alarms, schedule(task)).Times(Exactly(3));
    EXPECT_EQ(responder.respond(id, ReminderActions::Snooze).outcome, ReminderResponder::Outcome::Changed);
    EXPECT_EQ(task->alarm(), QDateTime(QDate(2027, 6, 8), QTime(10, 11), Qt::UTC));

    EXPECT_EQ(responder.respond(id, ReminderActions::Tomorrow).outcome, ReminderResponder::Outcome::Changed);
    EXPECT_EQ(task->alarm(), QDateTime(QDate(2027, 6, 9), QTime(10, 11), Qt::UTC));
    EXPECT_EQ(task->due(), QDateTime(QDate(2027, 6, 9), QTime(0, 0), Qt::UTC));

    EXPECT_EQ(responder.respond(id, ReminderActions::Done).outcome, ReminderResponder::Outcome::Changed);
    EXPECT_TRUE(task->done());

    const ReminderResponder::Result open = responder.respond(id, ReminderActions::Open);
    EXPECT_EQ(open.outcome, ReminderResponder::Outcome::Open);
    EXPECT_EQ(open.task, task);
    EXPECT_EQ(responder.respond(id, QStringLiteral("reply")).outcome, ReminderResponder::Outcome::Unknown);

    Store &reopened = store.reopen();
    TaskItem *kept = reopened.task(QUuid::fromString(id));
    ASSERT_TRUE(kept);
    EXPECT_TRUE(kept->done()) << "saved like any edit";
    EXPECT_EQ(kept->alarm(), QDateTime(QDate(2027, 6, 9), QTime(10, 11), Qt::UTC));
}

TEST(ReminderResponder, aTaskThatIsGoneIsLeftAlone)
{
    quillery::test::TempStore store;
    quillery::test::NiceAlarmService alarms;
    const CalendarContext calendar;
    auto *page = new Page(1, 0);
    store->insert(page);
    TaskItem *task = addTask(QStringLiteral("Old"), 0, page, *store);
    const QString id = uuidString(task->id());
    store->remove(task);
    const ReminderResponder responder(*store, &alarms, calendar);

    EXPECT_CALL(alarms, schedule(::testing::_)).Times(0);
    for (const QString &identifier : { id, QStringLiteral("not-a-task"), QString() })
        EXPECT_EQ(responder.respond(identifier, ReminderActions::Done).outcome, ReminderResponder::Outcome::Gone);
}
