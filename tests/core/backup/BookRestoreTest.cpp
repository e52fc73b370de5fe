// Restoring a real book from a copy of it: every kind of change made since
// the copy is undone, the chosen file stays as it was, the book as it was is
// kept first, and a copy that is damaged or no book changes nothing.
#include "core/backup/BookRestore.h"
#include "core/backup/BookCopy.h"
#include "core/model/Attachment.h"
#include "core/model/Page.h"
#include "core/model/TaskItem.h"
#include "support/BookText.h"
#include "support/FileDigest.h"
#include "support/TempStore.h"

#include <QFile>
#include <gtest/gtest.h>

#include <SQLiteCpp/Database.h>

using namespace quillery;
using namespace quillery::test;

namespace {

Page *pageOf(Store &store, const QString &title, int tasks)
{
    auto *page = new Page(store.pages().size(), 1);
    store.insert(page);
    page->setTitle(title);
    for (int i = 0; i < tasks; ++i)
        addTask(QStringLiteral("%1 %2").arg(title).arg(i), i % 2, page, store);
    return page;
}

} // namespace

TEST(BookRestore, undoesEveryKindOfChangeMadeSinceTheCopyAndKeepsTheBookAsItWasFirst)
{
    TempStore store;
    Page *home = pageOf(*store, QStringLiteral("Home"), 3);
    Page *work = pageOf(*store, QStringLiteral("Work"), 2);
    TaskItem *photoTask = home->tasks().first();
    auto *photo = new Attachment(QStringLiteral("a.png"), QStringLiteral("public.png"), QByteArray("first bytes"));
    store->insert(photo);
    photo->setTask(photoTask);
    ASSERT_TRUE(store->save());
    const QString copy = store.dir() + QStringLiteral("/copy.sqlite");
    ASSERT_TRUE(BookCopy::copy(store.path(), copy).ok);
    const QString before = bookText(*store);
    const QByteArray copyDigest = quillery::test::fileDigest(copy);

    // Since the copy: a field changed, a task moved to another page, bytes
    // replaced, a page with its tasks torn out, new records added.
    home->setTitle(QStringLiteral("Renamed"));
    home->tasks().at(1)->setDone(true);
    work->tasks().first()->setPage(home);
    photo->setData(QByteArray("other bytes"));
    store->remove(work);
    pageOf(*store, QStringLiteral("New"), 2);
    addTask(QStringLiteral("extra"), 0, home, *store);
    store->processPendingChanges();
    ASSERT_TRUE(store->save());
    const QString changed = bookText(*store);

    BookRestore restore(*store);
    QString error;
    ASSERT_TRUE(restore.load(copy, &error)) << error.toStdString();
    EXPECT_EQ(restore.loaded().pages, 2);
    EXPECT_EQ(restore.loaded().tasks, 5);
    const QDateTime now(QDate(2026, 12, 7), QTime(10, 52, 3));
    ASSERT_TRUE(restore.keepBook(store.dir() + QStringLiteral("/backups"), now, &error)) << error.toStdString();
    restore.apply(nullptr);

    EXPECT_EQ(bookText(*store), before);
    EXPECT_EQ(bookText(store.reopen()), before) << "the restored book reached the file";
    EXPECT_EQ(quillery::test::fileDigest(copy), copyDigest) << "the chosen copy is only read";

    const QList<BookRestore::Kept> kept = BookRestore::keptIn(store.dir() + QStringLiteral("/backups"));
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(kept.first().beforeRestore);
    EXPECT_EQ(kept.first().taken, now);
    BookRestore back(*store);
    ASSERT_TRUE(back.load(kept.first().path, &error)) << error.toStdString();
    back.apply(nullptr);
    EXPECT_EQ(bookText(*store), changed) << "the copy kept before the restore leads back";
}

TEST(BookRestore, aDamagedFileOrOneThatIsNoBookIsRefusedAndTheBookStaysAsItIs)
{
    TempStore store;
    pageOf(*store, QStringLiteral("Home"), 40);
    ASSERT_TRUE(store->save());
    const QString book = bookText(*store);

    const QString damaged = store.dir() + QStringLiteral("/damaged.sqlite");
    ASSERT_TRUE(BookCopy::copy(store.path(), damaged).ok);
    {
        QFile file(damaged);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const qint64 size = file.size();
        ASSERT_GT(size, 3 * 4096);
        file.seek(size / 2);
        file.write(QByteArray(int(size / 2), '\xab'));
    }
    EXPECT_FALSE(BookCopy::check(damaged));
    const QString empty = store.dir() + QStringLiteral("/empty.sqlite");
    QFile emptyFile(empty);
    ASSERT_TRUE(emptyFile.open(QIODevice::WriteOnly));
    emptyFile.close();
    const QString foreign = store.dir() + QStringLiteral("/other.sqlite");
    SQLite::Database(foreign.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE)
        .exec("CREATE TABLE things (name TEXT); INSERT INTO things VALUES ('x')");

    for (const QString &path : { damaged, empty, foreign, store.dir() + QStringLiteral("/missing.sqlite") }) {
        BookRestore restore(*store);
        QString error;
        EXPECT_FALSE(restore.load(path, &error)) << path.toStdString();
        EXPECT_TRUE(error.endsWith(QStringLiteral("The book was not changed."))) << error.toStdString();
        restore.apply(nullptr);
        if (path != damaged) {
            EXPECT_FALSE(BookRestore::count(path)) << path.toStdString();
        }
    }
    EXPECT_EQ(bookText(*store), book);
    EXPECT_EQ(bookText(store.reopen()), book);
}
