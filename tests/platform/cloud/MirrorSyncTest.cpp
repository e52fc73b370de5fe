// Two computers of one user mirror their books through a real PostgreSQL
// server: what one makes, changes or deletes reaches the other, conflicting
// edits end the same on both, a book restored from a copy ends as the copy on
// both, and nothing is lost when the server goes away.
#include "MirrorDevice.h"
#include "PgCluster.h"
#include "support/FieldSamples.h"

#include "core/backup/BookCopy.h"
#include "core/backup/BookRestore.h"
#include "core/model/MirrorAccess.h"
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
        cluster.useServices({ { QStringLiteral("quillery"), QStringLiteral("alice"),
            cluster.freshDatabase(QStringLiteral("alice")) } });
    }
};

} // namespace

TEST_F(MirrorSync, everyFieldOfEveryKindMadeOnOneComputerAppearsOnTheOther)
{
    MirrorDevice a, b;
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

    // Converged: every field of every record on B reads as on A.
    ASSERT_TRUE(converge({ &a, &b })) << bookText(a.store()).toStdString() << "\n--\n"
                                      << bookText(b.store()).toStdString();
    EXPECT_EQ(inserted.count(), 4) << "views on B saw every record appear";
    EXPECT_EQ(b.store().attachment(empty->id())->dataSize(), 0) << "empty content is not the same as none";

    // The book on B keeps the server's versions, nothing left to send.
    b.restart();
    EXPECT_FALSE(b.engine().ledger().hasPending());
    EXPECT_EQ(bookText(b.store()), bookText(a.store()));
}

TEST_F(MirrorSync, twoBooksMirroredFirstKeepBothAndADeletedPageTakesItsTasksAndAttachmentsOnTheOther)
{
    MirrorDevice a, b;
    Page *keep = addPage(a.store(), QStringLiteral("keep"), 1);
    addTask(QStringLiteral("stays"), 0, keep, a.store());
    Page *doomed = addPage(b.store(), QStringLiteral("doomed"), 2);
    TaskItem *task = addTask(QStringLiteral("goes"), 0, doomed, b.store());
    auto *file = new Attachment(QStringLiteral("f"), QStringLiteral("public.data"), QByteArray("xyz"));
    b.store().insert(file);
    file->setTask(task);
    // A's book is on the server when B first comes with a book of its own.
    ASSERT_TRUE(converge({ &a }));
    ASSERT_TRUE(converge({ &a, &b }));
    ASSERT_EQ(a.store().tasks().size(), 2);
    ASSERT_TRUE(taskNamed(b.store(), QStringLiteral("stays")));

    QSignalSpy removed(&b.store(), &Store::recordRemoved);
    a.store().remove(a.store().page(doomed->id()));
    ASSERT_TRUE(converge({ &a, &b }));
    EXPECT_EQ(removed.count(), 3) << "page, task and attachment vanished from B's views";
    EXPECT_EQ(b.store().pages().size(), 1);
    EXPECT_EQ(b.store().tasks().size(), 1);
    EXPECT_TRUE(b.store().attachments().isEmpty());
    b.restart();
    EXPECT_EQ(b.store().pages().size(), 1) << "the deletion is in B's file too";
    EXPECT_FALSE(b.engine().ledger().hasPending());
}

TEST_F(MirrorSync, conflictingEditsEndAsTheLaterOneOnBothAndTiesAreSettledTheSameWay)
{
    MirrorDevice a, b;
    Page *page = addPage(a.store(), QStringLiteral("p"));
    addTask(QStringLiteral("task"), 0, page, a.store());
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

TEST_F(MirrorSync, aServerStoppedDuringAnExportAndStartedAgainLosesNothing)
{
    MirrorEngine::Timing timing = MirrorDevice::fast();
    timing.chunkRecords = 150;
    MirrorDevice a(QStringLiteral("quillery"), timing), b;
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

// What was edited, deleted or added on either computer since the copy ends as
// the copy has it on both, and nothing is left to send.
TEST_F(MirrorSync, aBookRestoredOnOneComputerIsTheBookOnTheOther)
{
    MirrorDevice a, b;
    ASSERT_TRUE(converge({ &a, &b }));

    Page *home = addPage(a.store(), QStringLiteral("Home"), 0);
    TaskItem *milk = addTask(QStringLiteral("Milk"), 0, home, a.store());
    addTask(QStringLiteral("Bread"), 1, home, a.store());
    auto *photo = new Attachment(QStringLiteral("list.png"), QStringLiteral("public.png"), QByteArray("bytes"));
    a.store().insert(photo);
    photo->setTask(milk);
    ASSERT_TRUE(converge({ &a, &b }));
    ASSERT_TRUE(a.store().save());
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("copy.sqlite"));
    ASSERT_TRUE(BookCopy::copy(a.bookPath(), copy).ok);
    const QString then = bookText(a.store());

    // Since the copy, B renamed the page and deleted a task with its photo,
    // A added a task; both saw all of it.
    b.store().page(home->id())->setTitle(QStringLiteral("Flat"));
    b.store().remove(b.store().task(milk->id()));
    addTask(QStringLiteral("Eggs"), 0, home, a.store());
    ASSERT_TRUE(converge({ &a, &b }));
    ASSERT_NE(bookText(b.store()), then);

    BookRestore restore(a.store());
    QString error;
    ASSERT_TRUE(restore.load(copy, &error)) << error.toStdString();
    ASSERT_TRUE(restore.keepBook(dir.filePath(QStringLiteral("backups")), QDateTime::currentDateTime(), &error))
        << error.toStdString();
    restore.apply(nullptr);
    ASSERT_TRUE(converge({ &a, &b })) << bookText(a.store()).toStdString() << "\n--\n"
                                      << bookText(b.store()).toStdString();
    EXPECT_EQ(bookText(a.store()), then);
    EXPECT_EQ(bookText(b.store()), then) << "the deleted task and its photo came back on B too";
    b.restart();
    EXPECT_EQ(bookText(b.store()), then);
}
