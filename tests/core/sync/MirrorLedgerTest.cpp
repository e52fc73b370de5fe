// The book's side of the mirror against real book files: what still has to be
// sent survives closing the book, is sent parents first, and stops being
// pending only when the server holds the very version that was sent.
#include "LedgerTestSupport.h"
#include "support/TempStore.h"

#include "core/model/MirrorAccess.h"

#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

// A book of one page with one task.
class MirrorLedgerTest : public ::testing::Test
{
protected:
    MirrorLedgerTest()
    {
        store->insert(page);
        task = addTask(QStringLiteral("first words"), 0, page, *store);
    }

    TempStore store;
    Page *page = new Page(1, 0);
    TaskItem *task = nullptr;
};

} // namespace

TEST_F(MirrorLedgerTest, changeStampsOnlyMoveForwardEvenWhenTheClockIsBehind)
{
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

TEST_F(MirrorLedgerTest, changesAndDeletionsStayPendingAcrossRestartsUntilTheServerHoldsTheSentVersion)
{
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
    ledger = openLedger(store.reopen());
    EXPECT_FALSE(ledger->hasPending());

    // A page torn out takes its task: both deletions go until acknowledged.
    store->remove(store->page(pageId));
    const QList<MirrorRecord> deletions = collectAll(*ledger);
    ASSERT_EQ(deletions.size(), 2);
    EXPECT_TRUE(deletions[0].deleted && deletions[1].deleted);
    ledger.reset();
    ledger = openLedger(store.reopen());
    EXPECT_TRUE(ledger->hasPending()) << "not acknowledged: still to send after a restart";
    sendAll(*ledger);
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

TEST_F(MirrorLedgerTest, aNewServerMirrorTakesTheWholeBookAgain)
{
    auto ledger = openLedger(*store);
    const QUuid first = QUuid::createUuid();
    ASSERT_TRUE(ledger->adoptMirror(first));
    sendAll(*ledger);
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
