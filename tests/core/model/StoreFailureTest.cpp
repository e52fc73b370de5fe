// What a refused book is told, and what is not refused. The refusals
// themselves, with and without a write-ahead log, are in DamagedBookTest.
#include "core/model/Store.h"

#include <SQLiteCpp/Database.h>

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillery;
using Reason = StoreOpenError::Reason;

namespace {

QString makeBook(const QTemporaryDir &dir, int tasks)
{
    const QString path = dir.filePath(QStringLiteral("book.sqlite"));
    StoreOpenError error;
    auto store = Store::open(path, &error);
    EXPECT_TRUE(store);
    auto *page = new Page(1, 0);
    store->insert(page);
    for (int i = 0; i < tasks; ++i)
        addTask(QStringLiteral("task number %1 with some text to fill pages").arg(i), 0, page, *store);
    store->save();
    return path; // closing checkpoints the log into the file
}

} // namespace

TEST(StoreFailure, aNewerMinorVersionStillOpens)
{
    QTemporaryDir dir;
    const QString path = makeBook(dir, 3);
    {
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READWRITE);
        db.exec("UPDATE meta SET value = '1.4.0' WHERE key = 'schema_version'");
    }
    StoreOpenError error;
    auto store = Store::open(path, &error);
    ASSERT_TRUE(store) << error.message().toStdString();
    EXPECT_EQ(store->tasks().size(), 3);
}

TEST(StoreFailure, theMessageSaysWhatHappened)
{
    StoreOpenError error { Reason::NewerSchema, QStringLiteral("/home/u/book.sqlite"),
        QStringLiteral("version 2.0.0") };
    const QString message = error.message();
    EXPECT_TRUE(message.contains(QStringLiteral("/home/u/book.sqlite")));
    EXPECT_TRUE(message.contains(QStringLiteral("newer version")));
    EXPECT_TRUE(message.contains(QStringLiteral("unchanged")));
}
