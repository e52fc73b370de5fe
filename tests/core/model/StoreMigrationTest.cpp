// A book written by the previous version of the layout (tests/data, made by
// that version) opened by this one: upgraded in place, every record kept,
// and left byte for byte as it was when the upgrade cannot finish.
#include "core/model/StoreMigration.h"
#include "core/model/Attachment.h"
#include "core/model/Page.h"
#include "core/model/Store.h"
#include "core/model/TaskItem.h"
#include "support/FileDigest.h"
#include "support/FullDisk.h"
#include "support/TestEnvironment.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

std::string query(const QString &path, const char *sql)
{
    SQLite::Database db(QFile::encodeName(path).toStdString(), SQLite::OPEN_READONLY);
    SQLite::Statement statement(db, sql);
    std::string out;
    while (statement.executeStep())
        out += statement.getColumn(0).getString() + ';';
    return out;
}

bool copyBook(const QString &to)
{
    return QFile::copy(test::testDataPath(QStringLiteral("book-1.0.0.sqlite")), to)
        && QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace

TEST(StoreMigration, aBookOfTheFirstVersionIsUpgradedInPlaceWithEveryRecord)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.sqlite"));
    ASSERT_TRUE(copyBook(path));
    {
        StoreOpenError error;
        auto store = Store::open(path, &error);
        ASSERT_TRUE(store) << error.message().toStdString();
        ASSERT_EQ(store->pages().size(), 2);
        ASSERT_EQ(store->tasks().size(), 4);
        ASSERT_EQ(store->attachments().size(), 1);
        const TaskItem *plants = nullptr;
        for (const TaskItem *task : store->tasks()) {
            if (task->text() == QStringLiteral("Water the plants"))
                plants = task;
        }
        ASSERT_TRUE(plants);
        EXPECT_EQ(plants->notes(), QStringLiteral("The fern twice.\nNot the cactus."));
        EXPECT_EQ(plants->alarm(), QDateTime(QDate(2026, 12, 8), QTime(8, 30), Qt::UTC));
        EXPECT_EQ(plants->page()->title(), QStringLiteral("Home"));
        EXPECT_TRUE(plants->repeat().isEmpty());
        EXPECT_EQ(store->attachments().first()->data(), QByteArray::fromHex("89504e470d0a1a0a").repeated(4));
        store->tasks().first()->setRepeat(QStringLiteral("FREQ=WEEKLY"));
    }
    EXPECT_EQ(query(path, "SELECT value FROM meta WHERE key = 'schema_version'"), "1.1.0;");
    EXPECT_EQ(query(path, "PRAGMA integrity_check"), "ok;");
    EXPECT_EQ(query(path, "SELECT count(*) FROM tombstone"), "1;") << "deletions still wait for the mirror";
    EXPECT_EQ(query(path, "SELECT count(*) FROM task WHERE repeat_rule = 'FREQ=WEEKLY'"), "1;");
    EXPECT_FALSE(QFile::exists(StoreMigration::asidePath(path, QStringLiteral("1.0.0"))));
}

TEST(StoreMigration, anUpgradeThatCannotFinishLeavesTheBookAsItWas)
{
    test::FullDisk disk;
    const QString path = disk.filePath(QStringLiteral("book.sqlite"));
    ASSERT_TRUE(copyBook(path));
    const QByteArray before = quillery::test::fileDigest(path);
    disk.fill();
    StoreOpenError error;
    EXPECT_FALSE(Store::open(path, &error)) << disk.kind();
    EXPECT_TRUE(error);
    EXPECT_EQ(quillery::test::fileDigest(path), before) << disk.kind();

    disk.free();
    EXPECT_TRUE(Store::open(path, &error)) << error.message().toStdString();
    EXPECT_EQ(query(path, "SELECT value FROM meta WHERE key = 'schema_version'"), "1.1.0;");
}
