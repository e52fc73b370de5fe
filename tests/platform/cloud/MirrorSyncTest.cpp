// Two computers of one user mirror their books through a real PostgreSQL
// server: what one makes, changes or deletes reaches the other, conflicting
// edits end the same on both, and nothing is lost when the server goes away.
#include "MirrorDevice.h"
#include "PgCluster.h"
#include "support/FieldSamples.h"

#include "core/model/MirrorAccess.h"
#include "core/tasks/TaskActions.h"
#include "core/util/CalendarContext.h"
#include "gui/history/UndoHistory.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

class MirrorSync : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PgCluster &cluster = PgCluster::instance();
        database = cluster.freshDatabase(QStringLiteral("alice"));
        cluster.useServices({ { QStringLiteral("quillery"), QStringLiteral("alice"), database } });
    }

    QString database;
};

Page *addPage(Store &store, const QString &title, double position = 1)
{
    auto *page = new Page(position, 3);
    page->setTitle(title);
    store.insert(page);
    return page;
}

TaskItem *taskNamed(const Store &store, const QString &text)
{
    for (TaskItem *task : store.tasks()) {
        if (task->text() == text)
            return task;
    }
    return nullptr;
}

} // namespace

TEST_F(MirrorSync, everyFieldOfEveryKindMadeOnOneComputerAppearsOnTheOther)
{
    MirrorDevice a, b;
    a.start();
    b.start();
    ASSERT_TRUE(converge({ &a, &b }));
    QSignalSpy inserted(&b.store(), &Store::recordInserted);

    auto *page = new Page();
    auto *task = new TaskItem();
    auto *photo = new Attachment();
    auto *empty = new Attachment(QStringLiteral("empty.txt"), QStringLiteral("public.plain-text"), QByteArray());
    for (Record *record : std::initializer_list<Record *> { page, task, photo, empty })
        a.store().insert(record);
    giveSamples(*page);
    giveSamples(*task, page->id());
    giveSamples(*photo, task->id());
    empty->setTask(task);

    ASSERT_TRUE(converge({ &a, &b })) << bookText(a.store()).toStdString() << "\n--\n"
                                      << bookText(b.store()).toStdString();
    EXPECT_EQ(inserted.count(), 4) << "views on B saw every record appear";
    ASSERT_TRUE(b.store().page(page->id()) && b.store().task(task->id()) && b.store().attachment(photo->id()));
    EXPECT_EQ(differingFields(*b.store().page(page->id()), fieldValues(*page)), QStringList());
    EXPECT_EQ(differingFields(*b.store().task(task->id()), fieldValues(*task)), QStringList());
    EXPECT_EQ(differingFields(*b.store().attachment(photo->id()), fieldValues(*photo)), QStringList());
    EXPECT_EQ(b.store().attachment(empty->id())->dataSize(), 0) << "empty content is not the same as none";

    // The book on B keeps the server's versions, nothing left to send.
    b.restart();
    EXPECT_FALSE(b.engine().ledger().hasPending());
    EXPECT_EQ(bookText(b.store()), bookText(a.store()));
}

TEST_F(MirrorSync, aRepeatingTaskTickedOnOneComputerShowsItsNextDayOnTheOther)
{
    ManualClock clock(QDateTime(QDate(2027, 3, 1), QTime(9, 0), Qt::UTC));
    const CalendarContext calendar(clock, "Europe/Berlin", "en_US");
    const auto berlin = [&](int day, int hour) { return *calendar.moment({ 2027, 3, day, hour, 0, 0 }); };
    MirrorDevice a, b;
    TaskItem *onA
        = addTask(QStringLiteral("Water the plants"), 0, addPage(a.store(), QStringLiteral("Home")), a.store());
    onA->setDue(berlin(1, 0));
    onA->setAlarm(berlin(1, 8));
    onA->setRepeat(QStringLiteral("FREQ=WEEKLY;COUNT=4"));
    a.start();
    b.start();
    ASSERT_TRUE(converge({ &a, &b }));

    ASSERT_TRUE(TaskActions(nullptr).complete(onA, calendar));
    ASSERT_TRUE(converge({ &a, &b }));
    const TaskItem *onB = taskNamed(b.store(), QStringLiteral("Water the plants"));
    ASSERT_TRUE(onB);
    EXPECT_FALSE(onB->done());
    EXPECT_EQ(onB->due(), berlin(8, 0));
    EXPECT_EQ(onB->alarm(), berlin(8, 8));
    EXPECT_EQ(onB->repeat(), QStringLiteral("FREQ=WEEKLY;COUNT=3"));
}

TEST_F(MirrorSync, aPageDeletedOnOneComputerTakesItsTasksAndAttachmentsOnTheOther)
{
    MirrorDevice a, b;
    Page *keep = addPage(a.store(), QStringLiteral("keep"), 1);
    addTask(QStringLiteral("stays"), 0, keep, a.store());
    Page *doomed = addPage(a.store(), QStringLiteral("doomed"), 2);
    TaskItem *task = addTask(QStringLiteral("goes"), 0, doomed, a.store());
    auto *file = new Attachment(QStringLiteral("f"), QStringLiteral("public.data"), QByteArray("xyz"));
    a.store().insert(file);
    file->setTask(task);
    a.start();
    b.start();
    ASSERT_TRUE(converge({ &a, &b }));
    ASSERT_EQ(a.store().tasks().size(), 2);

    QSignalSpy removed(&a.store(), &Store::recordRemoved);
    b.store().remove(b.store().page(doomed->id()));
    ASSERT_TRUE(converge({ &a, &b }));
    EXPECT_EQ(removed.count(), 3) << "page, task and attachment vanished from A's views";
    EXPECT_EQ(a.store().pages().size(), 1);
    EXPECT_EQ(a.store().tasks().size(), 1);
    EXPECT_TRUE(a.store().attachments().isEmpty());
    a.restart();
    EXPECT_EQ(a.store().pages().size(), 1) << "the deletion is in A's file too";
    EXPECT_FALSE(a.engine().ledger().hasPending());
}

TEST_F(MirrorSync, conflictingEditsEndAsTheLaterOneOnBothAndTiesAreSettledTheSameWay)
{
    MirrorDevice a, b;
    Page *page = addPage(a.store(), QStringLiteral("p"));
    addTask(QStringLiteral("task"), 0, page, a.store());
    a.start();
    b.start();
    ASSERT_TRUE(converge({ &a, &b }));

    TaskItem *onA = a.store().tasks().first();
    TaskItem *onB = b.store().tasks().first();
    onA->setText(QStringLiteral("from A, earlier"));
    QTest::qWait(5);
    onB->setText(QStringLiteral("from B, later"));
    ASSERT_TRUE(converge({ &a, &b }));
    EXPECT_EQ(a.store().tasks().first()->text(), QStringLiteral("from B, later"));

    // Two changes stamped with the very same millisecond: the device whose
    // identifier sorts higher wins, on both.
    onA = a.store().tasks().first();
    onB = b.store().tasks().first();
    const qint64 stamp = QDateTime::currentMSecsSinceEpoch() + 60'000;
    MirrorAccess::raiseStamp(onA, stamp);
    MirrorAccess::raiseStamp(onB, stamp);
    onA->setText(QStringLiteral("tie from A"));
    onB->setText(QStringLiteral("tie from B"));
    ASSERT_EQ(MirrorAccess::modified(onA), MirrorAccess::modified(onB));
    ASSERT_TRUE(converge({ &a, &b }));
    const bool aWins = isLater({ stamp, a.engine().ledger().device() }, { stamp, b.engine().ledger().device() });
    EXPECT_EQ(a.store().tasks().first()->text(), aWins ? QStringLiteral("tie from A") : QStringLiteral("tie from B"));
}

TEST_F(MirrorSync, aFirstMirrorOfTwoBooksWithRecordsKeepsBothBooks)
{
    MirrorDevice a, b;
    Page *pageA = addPage(a.store(), QStringLiteral("A's page"));
    addTask(QStringLiteral("A's task"), 0, pageA, a.store());
    Page *pageB = addPage(b.store(), QStringLiteral("B's page"));
    addTask(QStringLiteral("B's task"), 0, pageB, b.store());
    a.start();
    ASSERT_TRUE(converge({ &a }));
    b.start();
    ASSERT_TRUE(converge({ &a, &b }));
    EXPECT_EQ(a.store().pages().size(), 2);
    EXPECT_EQ(a.store().tasks().size(), 2);
    EXPECT_TRUE(taskNamed(a.store(), QStringLiteral("B's task")));
    EXPECT_TRUE(taskNamed(b.store(), QStringLiteral("A's task")));
}

TEST_F(MirrorSync, aServerStoppedDuringAnExportAndStartedAgainLosesNothing)
{
    MirrorEngine::Timing timing = MirrorDevice::fast();
    timing.chunkRecords = 150;
    MirrorDevice a(QStringLiteral("quillery"), timing), b;
    a.start();
    b.start();
    ASSERT_TRUE(converge({ &a, &b }));

    Page *page = addPage(a.store(), QStringLiteral("many"));
    for (int i = 0; i < 1'000; ++i)
        addTask(QStringLiteral("task %1").arg(i), i % 3, page, a.store());
    // Halt the server as soon as the first part of the export has reached it.
    int parts = 0;
    QObject::connect(&a.remote(), &MirrorRemote::exportDone, &a.remote(), [&](const ExportReply &reply) {
        if (++parts == 1) {
            EXPECT_FALSE(reply.error);
            PgCluster::instance().halt();
        }
    });
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::any_of(a.events().cbegin(), a.events().cend(),
                [](const SyncEvent &e) { return e.type == SyncEvent::Export && e.end && !e.succeeded; });
        },
        10'000))
        << "the export failed when the server went away";
    PgCluster::instance().resume();

    ASSERT_TRUE(converge({ &a, &b }, 30'000));
    EXPECT_EQ(b.store().tasks().size(), 1'000);
    EXPECT_EQ(bookText(b.store()), bookText(a.store()));
}

TEST_F(MirrorSync, anUndoKeepsWhatTheOtherComputerChangedAndBringsBackOnlyItsOwnDeletion)
{
    MirrorDevice a, b;
    Page *page = addPage(a.store(), QStringLiteral("Week"));
    TaskItem *edited = addTask(QStringLiteral("one"), 0, page, a.store());
    const QUuid ticked = addTask(QStringLiteral("two"), 0, page, a.store())->id();
    TaskItem *deleted = addTask(QStringLiteral("three"), 0, page, a.store());
    const QUuid deletedId = deleted->id();
    a.start();
    b.start();
    ASSERT_TRUE(converge({ &a, &b }));

    UndoHistory history(a.store(), nullptr);
    QStringList notices;
    QObject::connect(&history, &UndoHistory::notice, [&](const QString &text) { notices << text; });
    edited->setText(QStringLiteral("one, edited"));
    history.commit();
    a.store().task(ticked)->setDone(true);
    history.commit();
    a.store().remove(deleted);
    history.commit();
    const Place office { QStringLiteral("Office"), QStringLiteral("Main St 1"), 52.5, 13.4 };
    a.store().task(ticked)->setPlace(office);
    history.commit();
    ASSERT_TRUE(converge({ &a, &b }));
    taskNamed(b.store(), QStringLiteral("one, edited"))->setText(QStringLiteral("one, from B"));
    b.store().task(ticked)->setPlaceAddress(QStringLiteral("Main St 2"));
    ASSERT_TRUE(converge({ &a, &b }));

    history.undo(); // the place, but for the address B changed
    EXPECT_EQ(a.store().task(ticked)->placeName(), QString());
    EXPECT_EQ(a.store().task(ticked)->placeAddress(), QStringLiteral("Main St 2"));
    ASSERT_TRUE(converge({ &a, &b }));
    b.store().remove(b.store().task(ticked));
    ASSERT_TRUE(converge({ &a, &b }));
    history.redo(); // the place again, on a task B deleted since
    history.undo(); // the deletion made here
    history.undo(); // the tick of a task B deleted since
    history.undo(); // the edit B wrote over
    ASSERT_TRUE(converge({ &a, &b }));
    ASSERT_TRUE(b.store().task(deletedId));
    EXPECT_EQ(b.store().task(deletedId)->text(), QStringLiteral("three"));
    EXPECT_FALSE(b.store().task(ticked));
    EXPECT_TRUE(taskNamed(b.store(), QStringLiteral("one, from B")));
    EXPECT_EQ(notices.size(), 4);
    EXPECT_FALSE(history.stack().canUndo());
    EXPECT_EQ(history.stack().redoText(), QStringLiteral("Delete Task"));
}
