// Kill a writing process at random moments, many times: whatever it had
// saved is there afterwards, nothing half-written is, and the file is sound.
#include "core/model/Store.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdio>

using namespace quillery;

namespace {

const char *ChildVariable = "QUILLERY_CRASH_CHILD_BOOK";

// The book holds one page whose title counts the saves; save n adds the task
// "item n" with an attachment of n bytes and edits the notes of an older task.
// All of it goes into one transaction, so title, tasks and bytes agree.
int countOf(const Page *page)
{
    return page->title().mid(QStringLiteral("saved ").size()).toInt();
}

} // namespace

// Runs only inside the child process started by the test below.
TEST(StoreCrashChild, writeUntilKilled)
{
    const QString path = qEnvironmentVariable(ChildVariable);
    if (path.isEmpty())
        GTEST_SKIP() << "runs as the child of StoreCrash.killedWritersLoseNothingSaved";
    StoreOpenError error;
    auto store = Store::open(path, &error);
    ASSERT_TRUE(store) << error.message().toStdString();
    Page *page = store->pages().isEmpty() ? nullptr : store->pages().first();
    if (!page) {
        page = new Page(1, 0);
        page->setTitle(QStringLiteral("saved 0"));
        store->insert(page);
        store->save();
    }
    auto *random = QRandomGenerator::global();
    for (int n = countOf(page) + 1;; ++n) {
        TaskItem *task = addTask(QStringLiteral("item %1").arg(n), n % 2, page, *store);
        auto *attachment
            = new Attachment(QStringLiteral("f%1").arg(n), QStringLiteral("public.data"), QByteArray(n, 'z'));
        store->insert(attachment);
        attachment->setTask(task);
        const QList<TaskItem *> tasks = page->sortedTasks();
        tasks.at(random->bounded(tasks.size()))->setNotes(QStringLiteral("edited at %1").arg(n));
        page->setTitle(QStringLiteral("saved %1").arg(n));
        ASSERT_TRUE(store->save());
        std::printf("saved %d\n", n);
        std::fflush(stdout);
    }
}

TEST(StoreCrash, killedWritersLoseNothingSaved)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.sqlite"));
    auto *random = QRandomGenerator::global();
    int acknowledged = 0;
    constexpr int Rounds = 40;

    for (int round = 0; round < Rounds; ++round) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(ChildVariable), path);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--gtest_filter=StoreCrashChild.*") });
        ASSERT_TRUE(child.waitForStarted());
        // Once it is writing (a slow start, under a sanitizer, must not end the
        // round early), let it write for a random while and kill it without
        // warning.
        ASSERT_TRUE(child.waitForReadyRead(30000)) << "round " << round;
        QThread::msleep(random->bounded(150));
        child.kill();
        child.waitForFinished();
        for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
            if (line.startsWith("saved "))
                acknowledged = std::max(acknowledged, line.mid(6).toInt());
        }

        StoreOpenError error;
        auto store = Store::open(path, &error);
        ASSERT_TRUE(store) << "round " << round << ": " << error.message().toStdString();
        if (store->pages().isEmpty()) {
            EXPECT_EQ(acknowledged, 0);
            continue;
        }
        ASSERT_EQ(store->pages().size(), 1);
        Page *page = store->pages().first();
        const int count = countOf(page);
        // Every acknowledged save is there; at most the one in flight beyond.
        EXPECT_GE(count, acknowledged) << "round " << round;
        EXPECT_LE(count, acknowledged + 1) << "round " << round;
        const QList<TaskItem *> tasks = page->sortedTasks();
        ASSERT_EQ(tasks.size(), count) << "round " << round;
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(tasks.at(i)->text(), QStringLiteral("item %1").arg(i + 1));
            EXPECT_EQ(tasks.at(i)->indent(), (i + 1) % 2);
            ASSERT_EQ(tasks.at(i)->attachments().size(), 1);
            EXPECT_EQ(tasks.at(i)->attachments().first()->dataSize(), i + 1);
        }
        acknowledged = count;
    }

    SQLite::Database db(path.toStdString(), SQLite::OPEN_READONLY);
    SQLite::Statement integrity(db, "PRAGMA integrity_check");
    ASSERT_TRUE(integrity.executeStep());
    EXPECT_EQ(integrity.getColumn(0).getString(), "ok");
    SQLite::Statement orphans(db,
        "SELECT count(*) FROM attachment_data WHERE attachment NOT IN "
        "(SELECT rowid FROM attachment)");
    ASSERT_TRUE(orphans.executeStep());
    EXPECT_EQ(orphans.getColumn(0).getInt(), 0) << "no bytes without their attachment";
    EXPECT_GT(acknowledged, Rounds) << "the children really wrote";
}
