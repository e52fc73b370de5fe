// The sync monitor's states, status line and log lines, driven by events and
// account answers as the mirror and the account check would give them.

#include "core/sync/SyncMonitor.h"
#include "core/alarms/AlarmTestSupport.h"
#include "core/alarms/LogWriter.h"
#include "core/app/AppPaths.h"
#include "core/sync/AccountProbe.h"
#include "core/sync/RelativeTime.h"
#include "core/sync/SyncEventFeed.h"
#include "core/sync/SystemLog.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <utility>

using namespace quillery;

namespace {

class RecordingLog final : public SystemLog
{
public:
    void write(Level level, const QString &message) override
    {
        lines << (level == Level::Error ? QStringLiteral("error: ") : QString()) + message;
    }
    QStringList lines;
};

class ScriptedProbe final : public AccountProbe
{
public:
    void check(QObject *context, std::function<void(const Result &)> done) override
    {
        ++asked;
        QMetaObject::invokeMethod(
            context, [done, answer = answer] { done(answer); }, Qt::QueuedConnection);
    }
    Result answer { Available, {} };
    int asked = 0;
};

QStringList syncLog()
{
    return quillery::test::logLines(QStringLiteral("sync.log"));
}

// The log's lines without their time stamps.
QStringList syncMessages()
{
    QStringList out;
    for (const QString &line : syncLog())
        out << line.section(u' ', 1);
    return out;
}

const QDateTime Noon(QDate(2026, 3, 10), QTime(12, 0), Qt::UTC);

class SyncMonitorTest : public ::testing::Test
{
protected:
    SyncMonitorTest()
        : clock(Noon)
        , monitor(log, &probe, &feed, CalendarContext(clock, "Europe/Berlin", "en_US"))
    {
        QFile::remove(AppPaths::logFile(QStringLiteral("sync.log")));
    }

    SyncEvent started(int type)
    {
        SyncEvent event;
        event.type = type;
        event.start = clock.now();
        return event;
    }

    SyncEvent ended(int type, bool ok, std::optional<SyncError> error = std::nullopt)
    {
        SyncEvent event = started(type);
        event.end = clock.now();
        event.succeeded = ok;
        event.error = std::move(error);
        return event;
    }

    // The account check is started and answered on later passes of the loop.
    void settle()
    {
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::processEvents();
    }

    ManualClock clock;
    RecordingLog log;
    ScriptedProbe probe;
    SyncEventFeed feed;
    SyncMonitor monitor;
};

} // namespace

TEST_F(SyncMonitorTest, anEventGoesFromSyncingToSyncedWithARelativeTime)
{
    QSignalSpy busy(&monitor, &SyncMonitor::busyChanged);
    monitor.start(true);
    EXPECT_EQ(monitor.statusText(), QStringLiteral("Sync: connecting…"));
    settle(); // the account check answers: available
    EXPECT_EQ(probe.asked, 1);

    Q_EMIT feed.eventChanged(started(SyncEvent::Import));
    EXPECT_TRUE(monitor.busy());
    EXPECT_EQ(monitor.statusText(), QStringLiteral("Sync: syncing…"));
    clock.advance(1'500);
    Q_EMIT feed.eventChanged(ended(SyncEvent::Import, true));
    EXPECT_FALSE(monitor.busy());
    EXPECT_EQ(monitor.lastSuccess(), Noon.addMSecs(1'500));
    EXPECT_EQ(busy.count(), 2);
    clock.advance(5 * 60'000);
    EXPECT_EQ(monitor.statusText(), QStringLiteral("Sync: synced 5 minutes ago"));

    Q_EMIT feed.eventChanged(started(SyncEvent::Export));
    Q_EMIT feed.eventChanged(ended(SyncEvent::Export, true));
    Q_EMIT feed.eventChanged(ended(7, true));
    EXPECT_EQ(syncMessages(),
        (QStringList { QStringLiteral("start: iCloud sync ON"), QStringLiteral("iCloud account: available"),
            QStringLiteral("import started"), QStringLiteral("import finished OK"), QStringLiteral("export started"),
            QStringLiteral("export finished OK"), QStringLiteral("other finished OK") }));
    EXPECT_EQ(log.lines.at(2), QStringLiteral("sync import started")) << "the system log hears the same";
    EXPECT_TRUE(syncLog().first().startsWith(QStringLiteral("2026-03-10T12:00:00Z "))) << "stamped by the clock";
}

TEST_F(SyncMonitorTest, failuresShowInOneLineUntilARunSucceedsAndAreLoggedInFull)
{
    monitor.start(true);
    settle();
    QSignalSpy errorChanged(&monitor, &SyncMonitor::lastErrorChanged);
    const QString refused = QStringLiteral("connection to server at \"db.example.org\" (192.0.2.7), port 5432 failed: "
                                           "Connection refused\n\tIs the server running on that host?");
    const SyncError error = MirrorErrors::make(MirrorErrors::Unreachable, refused, QStringLiteral("db.example.org"));
    Q_EMIT feed.eventChanged(started(SyncEvent::Export));
    Q_EMIT feed.eventChanged(ended(SyncEvent::Export, false, error));
    Q_EMIT feed.eventChanged(ended(SyncEvent::Export, false, error));
    EXPECT_EQ(errorChanged.count(), 1);
    EXPECT_EQ(monitor.statusText(), QStringLiteral("Sync: can't reach the server (db.example.org)"));
    Q_EMIT feed.eventChanged(started(SyncEvent::Import));
    EXPECT_EQ(monitor.statusText(), QStringLiteral("Sync: can't reach the server (db.example.org)"))
        << "an error outranks a run under way";

    Q_EMIT feed.eventChanged(
        ended(SyncEvent::Import, false, SyncError { QStringLiteral("elsewhere"), 9, QStringLiteral("first\nsecond") }));
    EXPECT_EQ(monitor.statusText(), QStringLiteral("Sync: first")) << "another domain's first line only";
    Q_EMIT feed.eventChanged(ended(SyncEvent::Import, false));
    EXPECT_EQ(monitor.statusText(), QStringLiteral("Sync: unknown error"));
    Q_EMIT feed.eventChanged(ended(SyncEvent::Setup, true));
    EXPECT_FALSE(monitor.lastError());
    EXPECT_EQ(monitor.statusText(), QStringLiteral("Sync: synced now"));

    const QStringList lines = syncMessages();
    EXPECT_TRUE(lines.contains(QStringLiteral("export FAILED: app.quillery.mirror 1: ")
        + QString(refused).replace(u'\n', QStringLiteral("\\n"))))
        << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("import FAILED: unknown error")));
    EXPECT_TRUE(log.lines.contains(QStringLiteral("error: sync export FAILED: app.quillery.mirror 1: ") + refused));
    EXPECT_TRUE(log.lines.contains(QStringLiteral("sync setup finished OK")));
}

// The advice staying through retries is checked on the real server
// (CloudLaunch); here, what ends it.
TEST_F(SyncMonitorTest, theSignInAdviceGivesWayToAnotherReasonOrASuccess)
{
    probe.answer = { AccountProbe::NoAccount, {}, QStringLiteral("db.example.org") };
    monitor.start(true);
    settle();
    EXPECT_EQ(monitor.statusText(), QStringLiteral("Sync: Sign in to db.example.org to sync."));
    Q_EMIT feed.eventChanged(
        ended(SyncEvent::Setup, false, MirrorErrors::make(MirrorErrors::Unreachable, QStringLiteral("gone"))));
    EXPECT_EQ(monitor.statusText(), QStringLiteral("Sync: can't reach the server"));
    Q_EMIT feed.eventChanged(ended(SyncEvent::Setup, true));
    EXPECT_EQ(monitor.statusText(), QStringLiteral("Sync: synced now"));
    EXPECT_TRUE(syncMessages().contains(QStringLiteral("iCloud account: no iCloud account")));
}

TEST_F(SyncMonitorTest, aFailedAccountCheckIsOnlyLogged)
{
    probe.answer = { std::nullopt, QStringLiteral("syntax error in service file") };
    QSignalSpy changed(&monitor, &StatusLine::changed);
    monitor.start(true);
    const int afterStart = int(changed.count());
    settle();
    EXPECT_EQ(changed.count(), afterStart);
    EXPECT_EQ(monitor.statusText(), QStringLiteral("Sync: connecting…"));
    EXPECT_EQ(syncMessages().last(), QStringLiteral("iCloud account check failed: syntax error in service file"));
    EXPECT_EQ(log.lines.last(), QStringLiteral("error: iCloud account check failed: syntax error in service file"));
}

TEST(RelativeTime, namesTheLargestCalendarUnitInTheLocalesWords)
{
    ManualClock clock(QDateTime(QDate(2026, 3, 10), QTime(9, 30), Qt::UTC)); // 10:30 in Berlin
    const CalendarContext english(clock, "Europe/Berlin", "en_US");
    const QDateTime now = clock.now();
    EXPECT_EQ(relativeTime(now, english), QStringLiteral("now"));
    EXPECT_EQ(relativeTime(now.addSecs(-90), english), QStringLiteral("1 minute ago"));
    // 26 hours back is the calendar's yesterday, not "1 day ago".
    EXPECT_EQ(relativeTime(now.addSecs(-26 * 3600), english), QStringLiteral("yesterday"));
    EXPECT_EQ(relativeTime(now.addSecs(2 * 3600), english), QStringLiteral("in 2 hours"));
    EXPECT_EQ(relativeTime(now.addSecs(-5 * 60), CalendarContext(clock, "Europe/Berlin", "de_DE")),
        QStringLiteral("vor 5 Minuten"));
}
