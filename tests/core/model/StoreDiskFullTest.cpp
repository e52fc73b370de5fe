// What a store on a full disk still holds when it ends survives in a recovery
// journal, every kind of change, and replaying it twice changes nothing.
// (The program around it, on the same full disk: tests/app/DiskFullTest.)
#include "core/model/RecoveryJournal.h"
#include "core/model/Store.h"
#include "support/FullDisk.h"

#include <SQLiteCpp/Database.h>

#include <QCryptographicHash>
#include <QFile>
#include <gtest/gtest.h>

using namespace quillery;
using quillery::test::FullDisk;

namespace {

QByteArray digest(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()
                                          : QByteArray();
}

// Everything a user could see of the book, in a comparable form.
QStringList contents(const Store &store)
{
    QStringList lines;
    for (Page *page : store.pages()) {
        lines << QStringLiteral("page %1 %2").arg(page->title()).arg(page->position());
        for (TaskItem *task : page->sortedTasks()) {
            lines << QStringLiteral("  %1 done=%2 notes=%3").arg(task->text()).arg(task->done()).arg(task->notes());
            for (Attachment *attachment : task->sortedAttachments())
                lines << QStringLiteral("    %1 %2").arg(attachment->name(), QString::fromLatin1(*attachment->data()));
        }
    }
    return lines;
}

// Copies the log into the book, so the book's digest stands for what was
// saved and the next save has to grow the log.
void checkpoint(Store &store)
{
    store.database().exec("PRAGMA wal_checkpoint(TRUNCATE)");
}

// What the report's table shows of a case.
void record(const char *name, const FullDisk &disk, const QByteArray &full, const QByteArray &after,
    const QStringList &expected, const Store &reopened, const QString &journal)
{
    using ::testing::Test;
    Test::RecordProperty("case", name);
    Test::RecordProperty("disk", disk.kind());
    Test::RecordProperty("book_sha256_full", full.toStdString());
    Test::RecordProperty("book_sha256_after_exit", after.toStdString());
    Test::RecordProperty("tasks_typed", int(expected.size()));
    Test::RecordProperty("tasks_after_restart", int(contents(reopened).size()));
    Test::RecordProperty("journal", journal.toStdString());
}

std::unique_ptr<Store> openBook(const QString &path)
{
    StoreOpenError error;
    auto store = Store::open(path, &error);
    EXPECT_TRUE(store) << error.message().toStdString();
    return store;
}

} // namespace

TEST(StoreDiskFull, aRecoveryJournalCarriesTheUnsavedChangesToTheNextStart)
{
    FullDisk disk;
    const QString path = disk.filePath(QStringLiteral("book.sqlite"));
    auto store = openBook(path);
    auto *page = new Page(1, 0);
    store->insert(page);
    TaskItem *kept = addTask(QStringLiteral("kept"), 0, page, *store);
    TaskItem *edited = addTask(QStringLiteral("edited"), 0, page, *store);
    TaskItem *removed = addTask(QStringLiteral("removed"), 0, page, *store);
    ASSERT_TRUE(store->save());
    checkpoint(*store);

    disk.fill();
    const QByteArray book = digest(path);
    edited->setText(QStringLiteral("edited while full"));
    edited->setDone(true);
    store->remove(removed);
    auto *photo = new Attachment(QStringLiteral("photo.jpg"), QStringLiteral("public.jpeg"), QByteArray("bytes"));
    store->insert(photo);
    photo->setTask(kept);
    auto *second = new Page(2, 3);
    second->setTitle(QStringLiteral("new page"));
    store->insert(second);
    addTask(QStringLiteral("on the new page"), 0, second, *store);
    store->remove(addTask(QStringLiteral("gone before it was saved"), 0, second, *store));
    EXPECT_FALSE(store->save());

    const QStringList expected = contents(*store);
    const int unsaved = store->unsavedChangeCount();
    const auto journal = RecoveryJournal::write(*store, RecoveryJournal::locations(path));
    ASSERT_TRUE(journal);
    EXPECT_EQ(*journal, RecoveryJournal::locations(path).at(disk.isReal() ? 1 : 0))
        << "beside the book, or in the runtime folder when the book's disk is full";
    EXPECT_EQ(QFile::permissions(*journal),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
    store.reset(); // its last save fails too
    const QByteArray after = digest(path);
    EXPECT_EQ(after, book);

    disk.free();
    store = openBook(path);
    QString why;
    EXPECT_EQ(RecoveryJournal::replay(*store, *journal, &why), unsaved) << why.toStdString();
    ASSERT_TRUE(store->save());
    EXPECT_EQ(contents(*store), expected);
    EXPECT_EQ(RecoveryJournal::replay(*store, *journal), 0) << "replaying again changes nothing";
    store.reset();
    auto reopened = openBook(path);
    EXPECT_EQ(contents(*reopened), expected);
    record("the store ends while full: recovery journal, replayed by the next", disk, book, after, expected, *reopened,
        *journal);
}
