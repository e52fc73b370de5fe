// A computer killed in the middle of an export sends what had not arrived
// when it starts again: nothing it had saved is lost.
#include "MirrorDevice.h"
#include "PgCluster.h"
#include "platform/cloud/MirrorBackend.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdio>

using namespace quillery;
using namespace quillery::test;

namespace {
const char *ChildVariable = "QUILLERY_MIRROR_CHILD_BOOK";
constexpr int Tasks = 1'200;
} // namespace

// Runs only inside the child process started by the test below: makes a book,
// starts exporting it, and stops dead once the server holds a first part.
TEST(MirrorCrashChild, exportUntilKilled)
{
    const QString path = qEnvironmentVariable(ChildVariable);
    if (path.isEmpty())
        GTEST_SKIP() << "runs as the child of MirrorCrash.aComputerKilledDuringAnExportSendsTheRestOnRestart";
    StoreOpenError error;
    auto store = Store::open(path, &error);
    ASSERT_TRUE(store) << error.message().toStdString();
    Page *page = addPage(*store, QStringLiteral("before the crash"));
    for (int i = 0; i < Tasks; ++i)
        addTask(QStringLiteral("crash %1").arg(i), 0, page, *store);
    ASSERT_TRUE(store->save());

    MirrorBackend *backend = MirrorBackend::load();
    ASSERT_TRUE(backend);
    const std::unique_ptr<MirrorRemote> remote = backend->makeRemote(QStringLiteral("quillery"));
    // Connected before the engine: the server has committed the first part,
    // and this device has not yet recorded that it did.
    QObject::connect(remote.get(), &MirrorRemote::exportDone, remote.get(), [](const ExportReply &reply) {
        std::printf(reply.error ? "export failed\n" : "part exported\n");
        std::fflush(stdout);
        QThread::sleep(60);
    });
    MirrorEngine::Timing timing = MirrorDevice::fast();
    timing.chunkRecords = 300;
    MirrorEngine engine(*store, *remote, timing);
    engine.start();
    QTest::qWait(60'000);
    FAIL() << "was not killed";
}

TEST(MirrorCrash, aComputerKilledDuringAnExportSendsTheRestOnRestart)
{
    PgCluster &cluster = PgCluster::instance();
    const QString database = cluster.freshDatabase(QStringLiteral("alice"));
    cluster.useServices({ { QStringLiteral("quillery"), QStringLiteral("alice"), database } });
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.sqlite"));

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(ChildVariable), path);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--gtest_filter=MirrorCrashChild.*") });
    ASSERT_TRUE(child.waitForStarted());
    QByteArray output;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            child.waitForReadyRead(50);
            output += child.readAllStandardOutput();
            return output.contains("exported") || output.contains("failed") || child.state() == QProcess::NotRunning;
        },
        30'000));
    ASSERT_TRUE(output.contains("part exported")) << output.toStdString();
    child.kill(); // SIGKILL: no clean-up of any kind
    child.waitForFinished();

    const int onServer
        = cluster.adminValue(database, "SELECT count(*) FROM \"iCloud.app.quillery.Quillery\".task WHERE NOT deleted")
              .toInt();
    EXPECT_GT(onServer, 0);
    EXPECT_LT(onServer, Tasks) << "killed in the middle of the export";
    {
        SQLite::Database db(path.toStdString(), SQLite::OPEN_READONLY);
        SQLite::Statement pending(db, "SELECT count(*) FROM task WHERE pending = 1");
        ASSERT_TRUE(pending.executeStep());
        EXPECT_EQ(pending.getColumn(0).getInt(), Tasks) << "nothing was acknowledged before the kill";
    }

    MirrorDevice a(QStringLiteral("quillery"), MirrorDevice::fast(), path), b;
    ASSERT_TRUE(converge({ &a, &b }, 30'000));
    EXPECT_EQ(b.store().tasks().size(), Tasks);
    EXPECT_EQ(b.store().pages().first()->title(), QStringLiteral("before the crash"));
    EXPECT_FALSE(a.engine().ledger().hasPending());
}
