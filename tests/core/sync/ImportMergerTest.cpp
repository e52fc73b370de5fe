// Versions from the server merged into a real book: the later version of each
// record wins, deletions follow the delete rules, and views see it all happen
// through the store's ordinary signals.
#include "LedgerTestSupport.h"
#include "support/TempStore.h"

#include "core/model/MirrorAccess.h"
#include "core/sync/ImportMerger.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

const QUuid OtherDevice = QUuid::fromString(QStringLiteral("{00000000-0000-4000-8000-000000000001}"));

class Merging : public ::testing::Test
{
protected:
    Merging() { open(); }

    void open()
    {
        merger.reset();
        ledger = openLedger(*store);
        merger = std::make_unique<ImportMerger>(*store, *ledger);
    }

    void reopen()
    {
        merger.reset();
        ledger.reset();
        store.reopen();
        open();
    }

    void merge(const QList<MirrorRecord> &records)
    {
        QSignalSpy finished(merger.get(), &ImportMerger::finished);
        merger->merge(records);
        ASSERT_TRUE(finished.wait(10'000));
        ASSERT_TRUE(finished.first().at(0).toBool()) << finished.first().at(1).toString().toStdString();
    }

    // A version as the other device sent it.
    static MirrorRecord remote(Record::Kind kind, const QUuid &id, qint64 modified, bool deleted = false)
    {
        MirrorRecord r { .kind = kind, .id = id, .modified = modified, .device = OtherDevice, .deleted = deleted };
        if (!deleted)
            r.setValue(Field::Created, modified);
        return r;
    }

    static MirrorRecord remotePage(const QUuid &id, qint64 modified, const QString &title)
    {
        MirrorRecord r = remote(Record::Kind::Page, id, modified);
        r.setValue(Field::Title, title);
        return r;
    }

    static MirrorRecord remoteTask(const QUuid &id, qint64 modified, const QString &text, const QUuid &pageId)
    {
        MirrorRecord r = remote(Record::Kind::Task, id, modified);
        r.setValue(Field::Text, text);
        r.setValue(Field::PageLink, QVariant::fromValue(pageId));
        return r;
    }

    static MirrorRecord deletion(Record::Kind kind, const QUuid &id, qint64 modified)
    {
        return remote(kind, id, modified, true);
    }

    std::optional<std::pair<qint64, bool>> tombstone(const QUuid &id)
    {
        SQLite::Statement read(store->database(), "SELECT deleted, pending FROM tombstone WHERE id = ?1");
        read.bind(1, id.toString(QUuid::WithoutBraces).toUpper().toStdString());
        if (!read.executeStep())
            return std::nullopt;
        return std::pair { read.getColumn(0).getInt64(), read.getColumn(1).getInt() != 0 };
    }

    TempStore store;
    std::unique_ptr<MirrorLedger> ledger;
    std::unique_ptr<ImportMerger> merger;
    const qint64 base = QDateTime::currentMSecsSinceEpoch() - 60'000;
};

} // namespace

TEST_F(Merging, recordsFromTheServerAppearThroughTheStoreAndOnlyALaterVersionIsSentBack)
{
    QSignalSpy inserted(store.get(), &Store::recordInserted);
    const QUuid pageId = QUuid::createUuid(), taskId = QUuid::createUuid();
    MirrorRecord task = remoteTask(taskId, base + 5, QStringLiteral("from the laptop"), pageId);
    MirrorRecord attachment = remote(Record::Kind::Attachment, QUuid::createUuid(), base + 6);
    attachment.setValue(Field::Data, QByteArray("bytes"));
    attachment.setValue(Field::TaskLink, QVariant::fromValue(taskId));
    // Children before parents in the list: the merge sorts them out.
    merge({ attachment, task, remotePage(pageId, base, QStringLiteral("Laptop page")) });

    EXPECT_EQ(inserted.count(), 3);
    Page *page = store->page(pageId);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->sortedTasks().size(), 1);
    TaskItem *t = page->sortedTasks().first();
    EXPECT_EQ(t->attachments().first()->data(), QByteArray("bytes"));
    EXPECT_EQ(MirrorAccess::modified(t), base + 5) << "the server's stamp, not the time of the merge";
    EXPECT_FALSE(ledger->hasPending());

    reopen();
    EXPECT_FALSE(ledger->hasPending()) << "saved as the server's version";
    EXPECT_EQ(MirrorAccess::modified(store->task(taskId)), base + 5);

    // The server was put back from an older backup: the later version here
    // goes back to it, even after a restart.
    merge({ remotePage(pageId, base - 10, QStringLiteral("as the backup had it")) });
    EXPECT_EQ(store->page(pageId)->title(), QStringLiteral("Laptop page"));
    reopen();
    const QList<MirrorRecord> again = collectAll(*ledger);
    ASSERT_EQ(again.size(), 1);
    EXPECT_EQ(again.first().id, pageId);
    EXPECT_EQ(again.first().modified, base);
}

TEST_F(Merging, theLaterOfALocalChangeAndTheServersVersionWins)
{
    auto *page = new Page(1, 0);
    store->insert(page);
    TaskItem *task = addTask(QStringLiteral("old"), 0, page, *store);
    sendAll(*ledger);
    task->setText(QStringLiteral("local edit"));
    const qint64 local = MirrorAccess::modified(task);

    merge({ remoteTask(task->id(), local - 1, QStringLiteral("older remote"), page->id()) });
    EXPECT_EQ(task->text(), QStringLiteral("local edit"));
    EXPECT_TRUE(MirrorAccess::isPending(task)) << "the local change still goes out";

    QSignalSpy textChanged(task->notifier(), &TaskNotifier::textChanged);
    merge({ remoteTask(task->id(), local + 1, QStringLiteral("newer remote"), page->id()) });
    EXPECT_EQ(task->text(), QStringLiteral("newer remote"));
    EXPECT_EQ(textChanged.count(), 1);
    EXPECT_FALSE(MirrorAccess::isPending(task));

    // The same millisecond: the device whose identifier sorts higher wins.
    task->setText(QStringLiteral("tie here"));
    const qint64 tie = MirrorAccess::modified(task);
    const bool oursHigher = isLater({ tie, ledger->device() }, { tie, OtherDevice });
    merge({ remoteTask(task->id(), tie, QStringLiteral("tie there"), page->id()) });
    EXPECT_EQ(task->text(), oursHigher ? QStringLiteral("tie here") : QStringLiteral("tie there"));
}

TEST_F(Merging, aDeletionTakesItsCascadeAndSendsOnlyWhatTheOtherDeviceCouldNotKnow)
{
    auto *page = new Page(1, 0);
    store->insert(page);
    TaskItem *known = addTask(QStringLiteral("known everywhere"), 0, page, *store);
    sendAll(*ledger);
    TaskItem *added = addTask(QStringLiteral("added here meanwhile"), 0, page, *store);
    const QUuid pageId = page->id(), knownId = known->id(), addedId = added->id();
    QSignalSpy removed(store.get(), &Store::recordRemoved);

    const qint64 when = QDateTime::currentMSecsSinceEpoch() + 100;
    merge({ deletion(Record::Kind::Page, pageId, when), deletion(Record::Kind::Task, knownId, when) });
    EXPECT_EQ(removed.count(), 3);
    EXPECT_TRUE(store->pages().isEmpty());
    EXPECT_TRUE(store->tasks().isEmpty());
    EXPECT_EQ(tombstone(pageId), std::pair(when, false)) << "the server's deletion, not sent back";
    EXPECT_EQ(tombstone(knownId), std::pair(when, false));
    ASSERT_TRUE(tombstone(addedId));
    EXPECT_TRUE(tombstone(addedId)->second) << "the server never heard that this task went too";
}

TEST_F(Merging, aTaskMovedOffAPageBeforeItWasDeletedElsewhereStaysAlive)
{
    auto *from = new Page(1, 0);
    auto *to = new Page(2, 0);
    store->insert(from);
    store->insert(to);
    TaskItem *task = addTask(QStringLiteral("moved"), 0, from, *store);
    sendAll(*ledger);

    // The other device moved the task, then deleted the page it came from.
    const qint64 later = QDateTime::currentMSecsSinceEpoch() + 100;
    merge({ deletion(Record::Kind::Page, from->id(), later + 1),
        remoteTask(task->id(), later, QStringLiteral("moved"), to->id()) });
    ASSERT_EQ(store->tasks().size(), 1);
    EXPECT_EQ(store->tasks().first()->page(), to);
    EXPECT_FALSE(ledger->hasPending());
}

TEST_F(Merging, whatArrivesForADeletedRecordFollowsTheDeleteRulesUnlessItIsLater)
{
    auto *page = new Page(1, 0);
    store->insert(page);
    const QUuid pageId = page->id();
    sendAll(*ledger);
    store->remove(page);
    ASSERT_TRUE(store->save());
    const qint64 deleted = tombstone(pageId)->first;

    // A task edited on the deleted page elsewhere, by a clock an hour ahead.
    const QUuid taskId = QUuid::createUuid();
    const qint64 edited = QDateTime::currentMSecsSinceEpoch() + 3'600'000;
    merge({ remoteTask(taskId, edited, QStringLiteral("edited on the deleted page elsewhere"), pageId) });
    EXPECT_TRUE(store->tasks().isEmpty());
    const auto stone = tombstone(taskId);
    ASSERT_TRUE(stone);
    EXPECT_TRUE(stone->second) << "the server learns that the task went with its page";
    EXPECT_GT(stone->first, edited) << "and the deletion outranks the edit it answers";

    merge({ remotePage(pageId, deleted - 10, QStringLiteral("edited before the deletion")) });
    EXPECT_TRUE(store->pages().isEmpty()) << "our deletion is later and will be sent";
    EXPECT_TRUE(tombstone(pageId)->second);

    merge({ remotePage(pageId, deleted + 10, QStringLiteral("edited after the deletion")) });
    ASSERT_EQ(store->pages().size(), 1);
    EXPECT_EQ(store->pages().first()->title(), QStringLiteral("edited after the deletion"));
    EXPECT_FALSE(tombstone(pageId)) << "the deletion is forgotten, so it is never sent";
    EXPECT_FALSE(MirrorAccess::isPending(store->pages().first()));
}

TEST_F(Merging, aLargeBatchIsMergedInSlicesEachSavedOnItsOwn)
{
    merger->setSliceBudget(1);
    const QUuid pageId = QUuid::createUuid();
    QList<MirrorRecord> records { remotePage(pageId, base, QStringLiteral("big")) };
    for (int i = 0; i < 4'000; ++i)
        records.append(remoteTask(QUuid::createUuid(), base + i, QStringLiteral("task %1").arg(i), pageId));
    QSignalSpy saved(store.get(), &Store::saved);
    merger->merge(records);
    EXPECT_TRUE(merger->isBusy()) << "nothing is merged before the event loop runs";
    EXPECT_TRUE(store->tasks().isEmpty());
    QSignalSpy finished(merger.get(), &ImportMerger::finished);
    ASSERT_TRUE(finished.wait(20'000));
    EXPECT_GT(saved.count(), 1) << "the work was cut into several slices";
    EXPECT_EQ(store->page(pageId)->sortedTasks().size(), 4'000);
    EXPECT_FALSE(store->hasUnsavedChanges());
}
