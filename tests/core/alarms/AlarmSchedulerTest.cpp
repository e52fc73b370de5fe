#include "AlarmTestSupport.h"
#include "FakeNotificationCenter.h"

#include "core/alarms/AlarmRequests.h"
#include "core/alarms/AlarmScheduler.h"
#include "core/alarms/AlarmStatus.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "core/util/Uuid.h"
#include "support/TempStore.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace quillery;
using quillery::test::alarmLogLines;

namespace {

const QDateTime Now(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);
const QString LogStamp = QStringLiteral("2026-03-01T09:00:00Z ");

class AlarmSchedulerTest : public ::testing::Test
{
protected:
    void SetUp() override { quillery::test::clearAlarmLog(); }
    void TearDown() override { center.stop(); }

    TaskItem *task(const QString &text, const std::optional<QDateTime> &alarm)
    {
        tasks.push_back(std::make_unique<TaskItem>(text));
        tasks.back()->setAlarm(alarm);
        return tasks.back().get();
    }

    QList<TaskItem *> all() const
    {
        QList<TaskItem *> list;
        for (const auto &t : tasks)
            list.append(t.get());
        return list;
    }

    ManualClock clock { Now };
    CalendarContext calendar { clock, "UTC", "en_US" };
    FakeNotificationCenter center;
    AlarmStatus status;
    AlarmScheduler scheduler { center, calendar, status };
    std::vector<std::unique_ptr<TaskItem>> tasks;
};

} // namespace

TEST_F(AlarmSchedulerTest, aTaskWhoseAlarmPassedLosesItsRequestAndTheLogSaysWhen)
{
    TaskItem *call = task(QStringLiteral("Call Ann"), Now.addSecs(60));
    scheduler.schedule(call);
    center.settle();
    ASSERT_EQ(center.pendingIdentifiers(), QStringList { uuidString(call->id()) });

    // Cleared while the centre has yet to answer for a new time: the answer
    // must not be logged after the line that says what holds now.
    call->setAlarm(Now.addSecs(120));
    scheduler.schedule(call);
    call->setAlarm(Now.addSecs(-1));
    scheduler.schedule(call);
    center.settle();
    EXPECT_TRUE(center.pending.isEmpty()) << "the old request is removed even though no new one follows";
    EXPECT_EQ(alarmLogLines().size(), 2) << alarmLogLines().join(u'\n').toStdString();
    EXPECT_EQ(status.pending(), 0);
    EXPECT_EQ(alarmLogLines().last(),
        LogStamp
            + QStringLiteral(
                "not scheduled: \"Call Ann\" (no alarm, done, or time already passed: 2026-03-01T08:59:59Z)"));
}

TEST_F(AlarmSchedulerTest, anOpenTaskWithAnAlarmAheadGetsOneRequestAndTheLogSaysWhyOthersDoNot)
{
    TaskItem *call = task(QStringLiteral("Call Ann"), Now.addSecs(3600));
    TaskItem *plain = task(QStringLiteral("Water plants"), std::nullopt);
    scheduler.schedule(call);
    scheduler.schedule(call); // rescheduling replaces, never duplicates
    scheduler.schedule(plain);
    center.settle();
    ASSERT_EQ(center.pendingIdentifiers(), QStringList { uuidString(call->id()) });
    EXPECT_EQ(status.statusLine(), QStringLiteral("Alarms: 1 scheduled"));
    EXPECT_TRUE(alarmLogLines().contains(LogStamp + QStringLiteral("scheduled \"Call Ann\" (")
        + uuidString(call->id()).left(8) + QStringLiteral(") trigger: calendar → next 2026-03-01T10:00:00Z")));
    EXPECT_TRUE(alarmLogLines().contains(
        LogStamp + QStringLiteral("not scheduled: \"Water plants\" (no alarm, done, or time already passed: none)")));

    TaskItem *later = task(QStringLiteral("later"), Now.addSecs(7200));
    scheduler.schedule(later);
    call->setDone(true);
    scheduler.schedule(call);
    center.settle();
    EXPECT_EQ(center.pendingIdentifiers(), QStringList { uuidString(later->id()) }) << "done";
    scheduler.cancel(later);
    center.settle();
    EXPECT_TRUE(center.pending.isEmpty());
    EXPECT_EQ(status.pending(), 0) << "the count follows";
}

// How a line break is written into the log is the log writer's rule.
TEST_F(AlarmSchedulerTest, aRefusedRequestIsLoggedOnOneLine)
{
    TaskItem *refused = task(QStringLiteral("Call"), Now.addSecs(60));
    const QString id = uuidString(refused->id());
    center.refusals.insert(id, QStringLiteral("The notification server is not running.\nsecond"));
    scheduler.schedule(refused);
    center.settle();

    EXPECT_EQ(status.pending(), 0);
    EXPECT_EQ(alarmLogLines(),
        QStringList { LogStamp + QStringLiteral("FAILED to schedule ") + id
            + QStringLiteral(": The notification server is not running.\\nsecond") });
}

TEST_F(AlarmSchedulerTest, aFullRescheduleKeepsTheSixtySoonestAndTheTestAlarm)
{
    // 75 alarms ahead, in no particular order, among tasks that must not ring.
    QList<int> minutes;
    for (int i = 1; i <= 75; ++i)
        minutes.append(i * 7);
    std::shuffle(minutes.begin(), minutes.end(), *QRandomGenerator::global());
    for (int m : minutes)
        task(QStringLiteral("in %1 minutes").arg(m), Now.addSecs(m * 60));
    task(QStringLiteral("past"), Now.addSecs(-60));
    task(QStringLiteral("no alarm"), std::nullopt);
    task(QStringLiteral("done"), Now.addSecs(30))->setDone(true);

    // Requests left over from an earlier run, and the test alarm.
    center.pending.append(makeTestRequest(10));
    NotificationRequest stale = makeTestRequest(100);
    stale.identifier = QStringLiteral("0B6E2A4C-0000-4000-8000-000000000001");
    center.pending.append(stale);

    scheduler.rescheduleAll(all());
    center.settle();

    // The sixty soonest are those up to 60 × 7 minutes ahead.
    QStringList expected { QStringLiteral("quillery.test") };
    for (const auto &t : tasks) {
        if (t->text().startsWith(QStringLiteral("in ")) && t->text().section(u' ', 1, 1).toInt() <= 60 * 7)
            expected.append(uuidString(t->id()));
    }
    ASSERT_EQ(expected.size(), 61);
    QStringList pending = center.pendingIdentifiers();
    std::sort(pending.begin(), pending.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(pending, expected);
    EXPECT_EQ(status.pending(), 60) << "the test alarm is not counted";
    ASSERT_EQ(center.removals.size(), 1) << "one removal call with the whole list";
    EXPECT_EQ(center.removals.first(), QStringList { stale.identifier });
    EXPECT_EQ(alarmLogLines().size(), 60) << "one line per added request, none for the tasks left out";

    // Again with nothing changed (the window activated once more): nothing
    // is withdrawn or added, and the log says nothing new.
    scheduler.rescheduleAll(all());
    center.settle();
    EXPECT_EQ(center.removals.size(), 1);
    EXPECT_EQ(center.pending.size(), 61);
    EXPECT_EQ(alarmLogLines().size(), 60);
}

TEST_F(AlarmSchedulerTest, aNewerFullRescheduleReplacesOneStillWaitingForTheCentre)
{
    TaskItem *kept = task(QStringLiteral("kept"), Now.addSecs(600));
    TaskItem *deleted = task(QStringLiteral("deleted meanwhile"), Now.addSecs(300));
    scheduler.rescheduleAll({ kept, deleted });
    scheduler.rescheduleAll({ kept });
    center.settle();

    EXPECT_EQ(center.pendingIdentifiers(), QStringList { uuidString(kept->id()) });
    EXPECT_EQ(status.pending(), 1);
}

TEST_F(AlarmSchedulerTest, aTaskRemovedFromTheBookNeverGetsARequest)
{
    quillery::test::TempStore store;
    auto *page = new Page(1, 0);
    store->insert(page);
    TaskItem *removed = addTask(QStringLiteral("torn out"), 0, page, *store);
    removed->setAlarm(Now.addSecs(600));
    scheduler.schedule(removed);
    center.settle();
    ASSERT_EQ(center.pending.size(), 1);

    store->remove(page);
    ASSERT_TRUE(removed->isDeleted());
    scheduler.schedule(removed);
    scheduler.rescheduleAll({ removed });
    center.settle();
    EXPECT_TRUE(center.pending.isEmpty());
}

// The centre answers from a thread of its own; the status hears every answer
// on the main thread.
TEST_F(AlarmSchedulerTest, theTestAlarmIsSentOnlyWithPermissionAndAnswersAreHandledOnTheMainThread)
{
    QList<QThread *> threads;
    QObject::connect(
        &status, &AlarmStatus::changed, &status, [&] { threads.append(QThread::currentThread()); },
        Qt::DirectConnection);
    center.authorization = AlarmStatus::NotDetermined;
    center.answer = AlarmStatus::Authorized;
    scheduler.sendTestAlarm(10);
    center.settle();

    ASSERT_EQ(center.authorizationRequests.size(), 1) << "asked, because it was never asked";
    EXPECT_EQ(int(center.authorizationRequests.first()), 7) << "alert, badge and sound";
    ASSERT_EQ(center.pending.size(), 1);
    EXPECT_EQ(center.pending.first(), makeTestRequest(10));
    EXPECT_EQ(alarmLogLines(),
        (QStringList { LogStamp + QStringLiteral("authorization: 2 (0 notDetermined, 1 denied, 2 authorized)"),
            LogStamp + QStringLiteral("scheduled \"Test alarm\" (quillery) trigger: in 10s") }));
    EXPECT_EQ(status.statusLine(), QStringLiteral("Alarms: none scheduled"));

    center.pending.clear();
    center.authorization = AlarmStatus::Denied;
    scheduler.sendTestAlarm(10);
    center.settle();
    EXPECT_TRUE(center.pending.isEmpty());
    EXPECT_EQ(center.authorizationRequests.size(), 1) << "a decided status is not asked again";
    EXPECT_TRUE(status.showDenied());
    ASSERT_FALSE(threads.isEmpty());
    for (QThread *thread : threads)
        EXPECT_EQ(thread, QCoreApplication::instance()->thread());
}

TEST_F(AlarmSchedulerTest, permissionNeverAskedIsAskedOnceAndTheStatusReadAfterwardsDecides)
{
    const auto ensurePermission = [&] {
        std::optional<bool> granted;
        status.ensurePermission(center, clock, [&](bool g) { granted = g; });
        center.settle();
        EXPECT_TRUE(granted.has_value());
        return granted.value_or(false);
    };
    center.authorization = AlarmStatus::NotDetermined;
    center.answer = AlarmStatus::Provisional;
    EXPECT_TRUE(ensurePermission()) << "provisional permission delivers";
    EXPECT_EQ(center.authorizationRequests.size(), 1);
    EXPECT_EQ(status.authorization(), AlarmStatus::Provisional);
    EXPECT_FALSE(status.showDenied());

    center.authorization = AlarmStatus::Ephemeral;
    EXPECT_FALSE(ensurePermission());
    EXPECT_FALSE(status.showDenied());
    EXPECT_EQ(alarmLogLines().last(),
        LogStamp + QStringLiteral("authorization: 4 (0 notDetermined, 1 denied, 2 authorized)"));
}

TEST_F(AlarmSchedulerTest, aShownReminderGoesWhenItNoLongerStandsAndStaysThroughOtherEdits)
{
    TaskItem *call = task(QStringLiteral("Call Ann"), Now.addSecs(-60));
    const QString id = uuidString(call->id());
    call->setText(QStringLiteral("Call Ann back"));
    scheduler.schedule(call);
    EXPECT_TRUE(center.withdrawn.isEmpty()) << "renaming a task whose reminder rang keeps it on the desktop";

    call->setAlarm(Now.addSecs(600));
    scheduler.schedule(call);
    EXPECT_EQ(center.withdrawn, QStringList { id }) << "a reminder set anew";
    center.withdrawn.clear();

    call->setDone(true);
    scheduler.schedule(call);
    EXPECT_EQ(center.withdrawn, QStringList { id }) << "ticked";
    center.withdrawn.clear();

    scheduler.cancel(call);
    EXPECT_EQ(center.withdrawn, QStringList { id }) << "deleted";
    center.settle();
}
