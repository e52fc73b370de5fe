// The book's side of the mirror against real book files: what still has to be
// sent survives closing the book, is sent parents first, and stops being
// pending only when the server holds the very version that was sent.
#include "support/TempStore.h"

#include "core/model/MirrorAccess.h"
#include "core/sync/MirrorLedger.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::TempStore;

namespace {

QList<MirrorKey> keysOf(const QList<MirrorRecord> &records)
{
    QList<MirrorKey> keys;
    for (const MirrorRecord &r : records)
        keys.append({ r.kind, r.id, r.modified, r.deleted });
    return keys;
}

std::unique_ptr<MirrorLedger> openLedger(Store &store)
{
    auto ledger = std::make_unique<MirrorLedger>(store);
    QString error;
    EXPECT_TRUE(ledger->open(&error)) << error.toStdString();
    return ledger;
}

QList<MirrorRecord> collectAll(MirrorLedger &ledger)
{
    QString error;
    QList<MirrorRecord> records = ledger.collect(1'000'000, qint64(1) << 40, &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return records;
}

} // namespace

TEST(MirrorLedger, changeStampsOnlyMoveForwardEvenWhenTheClockIsBehind)
{
    TempStore store;
    auto *page = new Page(1, 0);
    store->insert(page);
    TaskItem *task = addTask(QStringLiteral("t"), 0, page, *store);
    // A version from a computer whose clock runs an hour ahead.
    const qint64 ahead = QDateTime::currentMSecsSinceEpoch() + 3'600'000;
    MirrorAccess::markSynced(task, ahead);
    task->setText(QStringLiteral("edited here after that version arrived"));
    EXPECT_EQ(MirrorAccess::modified(task), ahead + 1);
    EXPECT_TRUE(MirrorAccess::isPending(task));
    task->setDone(true);
    EXPECT_EQ(MirrorAccess::modified(task), ahead + 2) << "two changes in one millisecond are still ordered";

    auto ledger = openLedger(*store);
    store->remove(task);
    const QList<MirrorRecord> sent = collectAll(*ledger);
    const auto deletion = std::find_if(sent.cbegin(), sent.cend(), [](const MirrorRecord &r) { return r.deleted; });
    ASSERT_NE(deletion, sent.cend());
    EXPECT_GT(deletion->modified, ahead + 2) << "the deletion is later than the last edit";
}

TEST(MirrorLedger, pendingChangesSurviveClosingTheBookAndOnlyTheSentVersionIsSettled)
{
    TempStore store;
    auto *page = new Page(1, 2);
    store->insert(page);
    TaskItem *task = addTask(QStringLiteral("first words"), 0, page, *store);
    const QUuid pageId = page->id(), taskId = task->id();
    {
        auto ledger = openLedger(*store);
        EXPECT_TRUE(ledger->hasPending());
        const QList<MirrorRecord> sent = collectAll(*ledger);
        ASSERT_EQ(sent.size(), 2);
        EXPECT_EQ(sent[0].kind, Record::Kind::Page) << "the page goes before its task";
        EXPECT_EQ(sent[1].value(Field::Text), QStringLiteral("first words"));
        EXPECT_EQ(sent[1].parentId(), pageId);
        EXPECT_EQ(sent[1].device, ledger->device());
        task->setText(QStringLiteral("changed while the export was under way"));
        ASSERT_TRUE(ledger->acknowledge(keysOf(sent)));
        EXPECT_FALSE(MirrorAccess::isPending(page));
        EXPECT_TRUE(MirrorAccess::isPending(task));
    }
    const QUuid device = [&] { return openLedger(store.reopen())->device(); }();
    auto ledger = openLedger(*store);
    EXPECT_EQ(ledger->device(), device) << "the device keeps its identity";
    const QList<MirrorRecord> again = collectAll(*ledger);
    ASSERT_EQ(again.size(), 1);
    EXPECT_EQ(again[0].id, taskId);
    EXPECT_EQ(again[0].value(Field::Text), QStringLiteral("changed while the export was under way"));
    ASSERT_TRUE(ledger->acknowledge(keysOf(again)));
    EXPECT_FALSE(ledger->hasPending());
    ledger.reset();
    EXPECT_FALSE(openLedger(store.reopen())->hasPending());
}

TEST(MirrorLedger, deletionsAreSentUntilTheServerHoldsThem)
{
    TempStore store;
    auto *page = new Page(1, 0);
    store->insert(page);
    addTask(QStringLiteral("a"), 0, page, *store);
    auto ledger = openLedger(*store);
    ledger->acknowledge(keysOf(collectAll(*ledger)));
    ASSERT_FALSE(ledger->hasPending());

    store->remove(page);
    EXPECT_TRUE(ledger->hasPending());
    const QList<MirrorRecord> sent = collectAll(*ledger);
    ASSERT_EQ(sent.size(), 2);
    EXPECT_TRUE(sent[0].deleted && sent[1].deleted);
    ledger.reset();
    ledger = openLedger(store.reopen());
    EXPECT_TRUE(ledger->hasPending()) << "not acknowledged: still to send after a restart";
    ASSERT_TRUE(ledger->acknowledge(keysOf(collectAll(*ledger))));
    EXPECT_FALSE(ledger->hasPending());
}

TEST(MirrorLedger, chunksKeepParentsFirstAndAttachmentContentWithinBounds)
{
    TempStore store;
    QList<Page *> pages;
    for (int p = 0; p < 3; ++p) {
        pages << new Page(p, 0);
        store->insert(pages.last());
    }
    QList<TaskItem *> tasks;
    for (int t = 0; t < 5; ++t)
        tasks << addTask(QStringLiteral("t%1").arg(t), 0, pages[t % 3], *store);
    for (int a = 0; a < 3; ++a) {
        auto *attachment = new Attachment(QStringLiteral("a"), QStringLiteral("public.data"), QByteArray(1 << 20, 'x'));
        store->insert(attachment);
        attachment->setTask(tasks[a]);
    }
    auto ledger = openLedger(*store);
    QList<Record::Kind> order;
    QString error;
    for (int round = 0; round < 10; ++round) {
        const QList<MirrorRecord> chunk = ledger->collect(4, 3 << 19, &error);
        if (chunk.isEmpty())
            break;
        EXPECT_LE(chunk.size(), 4);
        qint64 bytes = 0;
        for (const MirrorRecord &r : chunk) {
            order << r.kind;
            bytes += r.contentSize();
        }
        EXPECT_LE(bytes, 2 << 20) << "the limit is passed by at most the attachment that reaches it";
        ASSERT_TRUE(ledger->acknowledge(keysOf(chunk)));
    }
    EXPECT_TRUE(error.isEmpty());
    ASSERT_EQ(order.size(), 11);
    EXPECT_TRUE(std::is_sorted(order.cbegin(), order.cend(), [](Record::Kind a, Record::Kind b) {
        return int(a) < int(b);
    })) << "pages, then tasks, then attachments";
}

TEST(MirrorLedger, aNewServerMirrorTakesTheWholeBookAgain)
{
    TempStore store;
    auto *page = new Page(1, 0);
    store->insert(page);
    addTask(QStringLiteral("a"), 0, page, *store);
    auto ledger = openLedger(*store);
    const QUuid first = QUuid::createUuid();
    ASSERT_TRUE(ledger->adoptMirror(first));
    ledger->acknowledge(keysOf(collectAll(*ledger)));
    ASSERT_TRUE(ledger->setCursor(42));
    ASSERT_FALSE(ledger->hasPending());

    ledger.reset();
    ledger = openLedger(store.reopen());
    EXPECT_EQ(ledger->mirrorId(), first);
    EXPECT_EQ(ledger->cursor(), 42);
    EXPECT_FALSE(ledger->hasPending());

    const QUuid second = QUuid::createUuid();
    ASSERT_TRUE(ledger->adoptMirror(second));
    EXPECT_EQ(ledger->cursor(), 0) << "the new mirror is read from its beginning";
    EXPECT_EQ(collectAll(*ledger).size(), 2) << "and gets every record";
    ledger.reset();
    ledger = openLedger(store.reopen());
    EXPECT_EQ(ledger->mirrorId(), second);
    EXPECT_EQ(collectAll(*ledger).size(), 2) << "even after a restart";
}
