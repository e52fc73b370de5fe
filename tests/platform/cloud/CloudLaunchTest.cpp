// The program's start-up with and without a usable connection service: the
// book opens mirrored or local, and the sync monitor and "sync.log" say so.
#include "PgCluster.h"

#include "app/QuilleryApp.h"
#include "core/app/AppPaths.h"
#include "core/sync/SyncMonitor.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

QStringList syncLog()
{
    QFile file(AppPaths::logFile(QStringLiteral("sync.log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList messages;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts))
        messages << line.section(u' ', 1); // without the time
    return messages;
}

class CloudLaunch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFile::remove(AppPaths::logFile(QStringLiteral("sync.log")));
        // Only the service files of the test count.
        qputenv("PGSYSCONFDIR", dir.path().toLocal8Bit());
    }

    void writeServices(const QByteArray &text)
    {
        const QString path = dir.filePath(QStringLiteral("services.conf"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Text));
        file.write(text);
        file.close();
        qputenv("PGSERVICEFILE", path.toLocal8Bit());
    }

    // The program started on a new book in the test's folder; null if it
    // could not start.
    std::unique_ptr<QuilleryApp> startApp()
    {
        auto app = std::make_unique<QuilleryApp>(QuilleryApp::Options { dir.filePath(QStringLiteral("book.sqlite")) });
        StoreOpenError error;
        if (app->start(&error))
            return app;
        ADD_FAILURE() << error.message().toStdString();
        return nullptr;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(CloudLaunch, aDefinedServiceOpensTheBookMirroredAndTheMonitorFollowsTheMirror)
{
    PgCluster &cluster = PgCluster::instance();
    cluster.useServices(
        { { QStringLiteral("quillery"), QStringLiteral("alice"), cluster.freshDatabase(QStringLiteral("alice")) } });
    const std::unique_ptr<QuilleryApp> app = startApp();
    ASSERT_TRUE(app);
    EXPECT_TRUE(app->syncing());
    EXPECT_EQ(app->services().syncStatus, &app->syncMonitor());
    EXPECT_EQ(app->syncMonitor().statusText(), QStringLiteral("Sync: off (local only)"))
        << "the monitor starts on the event loop, not inside start()";

    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return syncLog().contains(QStringLiteral("import finished OK")) && syncLog().size() >= 6; }, 15'000))
        << syncLog().join(u'\n').toStdString();
    const QStringList lines = syncLog();
    EXPECT_EQ(lines.first(), QStringLiteral("start: iCloud sync ON"));
    for (const char *line : { "setup started", "setup finished OK", "import started", "iCloud account: available" })
        EXPECT_TRUE(lines.contains(QString::fromLatin1(line))) << line;
    EXPECT_TRUE(app->syncMonitor().statusText().startsWith(QStringLiteral("Sync: synced ")))
        << app->syncMonitor().statusText().toStdString();
}

TEST_F(CloudLaunch, anUnreachableServerStillMirrorsAndSaysWhyInOneLine)
{
    // A name that never resolves: a computer started offline.
    writeServices("[quillery]\nhost=db.quillery.invalid\ndbname=book\nuser=alice\npassword=hunter2\n");
    const std::unique_ptr<QuilleryApp> app = startApp();
    ASSERT_TRUE(app);
    EXPECT_TRUE(app->syncing()) << "changes wait for the server";
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return syncLog().contains(QStringLiteral("iCloud account: temporarily unavailable")); }, 15'000))
        << syncLog().join(u'\n').toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->syncMonitor().lastError().has_value(); }, 15'000));
    EXPECT_EQ(app->syncMonitor().statusText(), QStringLiteral("Sync: can't reach the server (db.quillery.invalid)"));
    const QString log = syncLog().join(u'\n');
    EXPECT_TRUE(log.contains(QStringLiteral("setup FAILED: app.quillery.mirror 1: could not translate host name")))
        << "libpq's own words are in the log: " << log.toStdString();
    EXPECT_TRUE(syncLog().contains(QStringLiteral("start: iCloud sync ON")));
    EXPECT_FALSE(log.contains(QStringLiteral("hunter2"))) << "no password in the log";
}

TEST_F(CloudLaunch, signingInStaysTheAdviceWhileRetriesFailForTheSameReason)
{
    PgCluster &cluster = PgCluster::instance();
    cluster.useServices({ { QStringLiteral("quillery"), QStringLiteral("carol"), QStringLiteral("postgres") } });
    const std::unique_ptr<QuilleryApp> app = startApp();
    ASSERT_TRUE(app);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return syncLog().contains(QStringLiteral("iCloud account: no iCloud account"))
                && syncLog().filter(QStringLiteral("setup FAILED")).size() >= 2;
        },
        15'000))
        << syncLog().join(u'\n').toStdString();
    EXPECT_EQ(app->syncMonitor().statusText(), QStringLiteral("Sync: Sign in to 127.0.0.1 to sync."));
}

TEST_F(CloudLaunch, aServiceLibpqCannotUseLeavesTheBookLocalWithoutAWord)
{
    writeServices("[quillery]\nhost=127.0.0.1\nthis_is_not_a_setting=1\n");
    ASSERT_TRUE(QuilleryApp::hasCloudKitEntitlement());
    const std::unique_ptr<QuilleryApp> app = startApp();
    ASSERT_TRUE(app);
    EXPECT_FALSE(app->syncing());
    EXPECT_FALSE(app->mirror());
    QTest::qWait(300);
    EXPECT_EQ(app->syncMonitor().statusText(), QStringLiteral("Sync: off (local only)"));
    EXPECT_FALSE(app->syncMonitor().isObserving());
    EXPECT_EQ(syncLog(), QStringList { QStringLiteral("start: iCloud sync OFF (local only)") });
}
