// The desktop notification centre against a notification server on the
// private session bus of the test run.
#include "NotificationsTestSupport.h"

#include "core/alarms/AlarmRequests.h"
#include "core/alarms/NotificationDelegate.h"
#include "platform/notifications/DesktopNotificationCenter.h"
#include "platform/notifications/PendingNotificationFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

using namespace quillery;
using namespace quillery::test;

namespace {

class DesktopNotificationCenterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QUILLERY_REQUIRE_SESSION_BUS();
        ASSERT_TRUE(server.start()) << "the name org.freedesktop.Notifications is free on the test bus";
    }

    std::unique_ptr<DesktopNotificationCenter> startCenter()
    {
        DesktopNotificationCenter::Options options;
        options.filePath = filePath();
        auto center = std::make_unique<DesktopNotificationCenter>(calendar, options);
        center->setDelegate(&delegate);
        return center;
    }

    QString filePath() const { return dir.filePath(QStringLiteral("notifications.json")); }

    QStringList storedIdentifiers() const
    {
        QStringList ids;
        for (const auto &pending : PendingNotificationFile(filePath()).load().pending)
            ids.append(pending.request.identifier);
        return ids;
    }

    static NotificationRequest taskRequest(const QString &id, const QDateTime &at, const CalendarContext &calendar)
    {
        NotificationRequest request = makeTestRequest(1);
        request.identifier = id;
        request.title = QStringLiteral("Task ") + id;
        request.subtitle = QStringLiteral("Errands");
        request.trigger = NotificationTrigger::calendar(calendar.components(at));
        return request;
    }

    QTemporaryDir dir;
    CalendarContext calendar { Clock::system(), "Europe/Berlin", "en_US" };
    NotificationDelegate delegate;
    TestNotificationServer server;
};

} // namespace

TEST_F(DesktopNotificationCenterTest, requestsArriveAsNotifyCallsUnlessRemovedOrTheyCanNeverFire)
{
    auto center = startCenter();
    const auto interval = addAndWait(*center, makeTestRequest(0));
    ASSERT_TRUE(interval);
    EXPECT_FALSE(interval->localizedDescription.isEmpty());
    NotificationRequest nonexistentDay = makeTestRequest(1);
    nonexistentDay.identifier = QStringLiteral("nonexistent-day");
    nonexistentDay.trigger = NotificationTrigger::calendar({ 2031, 2, 30, 9, 0, 0 });
    EXPECT_TRUE(addAndWait(*center, nonexistentDay));

    const QDateTime added = QDateTime::currentDateTimeUtc();
    ASSERT_FALSE(addAndWait(*center, makeTestRequest(1)));
    ASSERT_FALSE(addAndWait(*center, taskRequest(QStringLiteral("removed"), added.addSecs(1), calendar)));
    ASSERT_FALSE(addAndWait(*center, taskRequest(QStringLiteral("kept"), added.addSecs(2), calendar)));
    center->removePendingRequests({ QStringLiteral("removed"), QStringLiteral("unknown") });
    EXPECT_EQ(pendingIdentifiers(*center), (QStringList { QStringLiteral("quillery.test"), QStringLiteral("kept") }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.calls().size() == 2; }));
    EXPECT_EQ(server.summaries(), (QStringList { QStringLiteral("Test alarm"), QStringLiteral("Task kept") }));

    const TestNotificationServer::Call test = server.calls().first();
    EXPECT_GE(test.received, added.addMSecs(1000)) << "not before its moment";
    EXPECT_EQ(test.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("app.quillery.Quillery"));
    EXPECT_EQ(test.hints.value(QStringLiteral("transient")), QVariant(false)) << "kept in the notification list";
    const TestNotificationServer::Call kept = server.calls().last();
    EXPECT_EQ(kept.body, QStringLiteral("Errands\nIf you can read this, Quillery alarms work on this device."))
        << "the subtitle heads the body";
    EXPECT_TRUE(kept.actions.isEmpty()) << "a server without actions gets none";

    EXPECT_TRUE(pendingIdentifiers(*center).isEmpty());
    center.reset();
    EXPECT_TRUE(storedIdentifiers().isEmpty()) << "and they are gone from the file";
}

TEST_F(DesktopNotificationCenterTest, aDamagedFileIsMovedAsideAndTheCentreStartsEmpty)
{
    QByteArray damaged = PendingNotificationFile::encode({ { makeTestRequest(30), 1'800'000'000'000 } });
    damaged.chop(damaged.size() / 3); // cut short, as by a full disk
    {
        QFile file(filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }

    auto center = startCenter();
    EXPECT_TRUE(pendingIdentifiers(*center).isEmpty());
    const QStringList aside = QDir(dir.path()).entryList({ QStringLiteral("notifications.json.damaged-*") });
    ASSERT_EQ(aside.size(), 1);
    QFile kept(dir.filePath(aside.first()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), damaged) << "kept as it was, for inspection";

    // The centre works on: what it is given now is kept in a sound file.
    ASSERT_FALSE(addAndWait(*center, makeTestRequest(60)));
    center.reset();
    EXPECT_EQ(storedIdentifiers(), QStringList { QStringLiteral("quillery.test") });
}

TEST_F(DesktopNotificationCenterTest, permissionFollowsTheServerAndNeverAsks)
{
    auto center = startCenter();
    EXPECT_EQ(authorization(*center), AlarmStatus::Authorized);
    std::optional<bool> granted;
    center->requestAuthorization(AuthorizationOption::Alert, [&](bool g, auto) { granted = g; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return granted.has_value(); }));
    EXPECT_TRUE(*granted);

    server.stop();
    EXPECT_EQ(authorization(*center), AlarmStatus::Denied) << "no notification server";
    granted.reset();
    center->requestAuthorization(AuthorizationOption::Alert, [&](bool g, auto) { granted = g; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return granted.has_value(); }));
    EXPECT_FALSE(*granted);
    // Requests are still kept, to be shown once a server is there.
    ASSERT_FALSE(addAndWait(*center, makeTestRequest(60)));
    EXPECT_EQ(pendingIdentifiers(*center), QStringList { QStringLiteral("quillery.test") });
}

TEST_F(DesktopNotificationCenterTest, aReminderOffersItsActionsAndTheChoiceComesBackToTheCentreThatShowedIt)
{
    server.setCapabilities({ QStringLiteral("body"), QStringLiteral("actions") });
    auto center = startCenter();
    QList<QStringList> responses;
    QObject::connect(
        center.get(), &DesktopNotificationCenter::responded, [&](const QString &identifier, const QString &action) {
            responses.append({ identifier, action });
        });
    ASSERT_FALSE(addAndWait(*center, makeTestRequest(0.2)));
    ASSERT_FALSE(addAndWait(
        *center, taskRequest(QStringLiteral("T1"), QDateTime::currentDateTimeUtc().addMSecs(1200), calendar)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.calls().size() == 2; }));
    EXPECT_TRUE(server.calls().at(0).actions.isEmpty()) << "the test alarm has nothing to act on";
    EXPECT_EQ(server.calls().at(1).actions,
        (QStringList { QStringLiteral("default"), QStringLiteral("Open"), QStringLiteral("done"),
            QStringLiteral("Mark as Done"), QStringLiteral("snooze"), QStringLiteral("Remind Me in 10 Minutes"),
            QStringLiteral("tomorrow"), QStringLiteral("Tomorrow") }));

    const uint id = server.idOf(QStringLiteral("Task T1"));
    server.invokeAction(id + 100, QStringLiteral("done")); // another program's notification
    server.invokeAction(id, QStringLiteral("snooze"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !responses.isEmpty(); }));
    EXPECT_EQ(responses, QList<QStringList> { (QStringList { QStringLiteral("T1"), QStringLiteral("snooze") }) });

    center->removeDeliveredNotifications({ QStringLiteral("T1"), QStringLiteral("unknown") });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.closed().isEmpty(); }));
    EXPECT_EQ(server.closed(), QList<uint> { id });
}

TEST_F(DesktopNotificationCenterTest, requestsOutliveARestartAndThoseDueMeanwhileFireOnceAtStartSayingHowLate)
{
    ManualClock clock(QDateTime(QDate(2031, 5, 14), QTime(8, 0), Qt::UTC));
    calendar = CalendarContext(clock, "Europe/Berlin", "en_GB");
    const NotificationRequest ahead = taskRequest(QStringLiteral("ahead"), clock.now().addSecs(4 * 3600), calendar);
    {
        auto first = startCenter();
        ASSERT_FALSE(addAndWait(*first, makeTestRequest(60)));
        ASSERT_FALSE(addAndWait(*first, taskRequest(QStringLiteral("late"), clock.now().addSecs(3600), calendar)));
        ASSERT_FALSE(addAndWait(*first, ahead));
    }
    clock.advance(3 * 3600 * 1000); // the machine was off
    auto second = startCenter();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.calls().size() == 2; }));
    QStringList summaries = server.summaries();
    summaries.sort();
    EXPECT_EQ(summaries, (QStringList { QStringLiteral("Task late"), QStringLiteral("Test alarm") }));
    const auto late = std::find_if(server.calls().cbegin(), server.calls().cend(),
        [](const TestNotificationServer::Call &call) { return call.summary == QLatin1String("Task late"); });
    ASSERT_NE(late, server.calls().cend());
    EXPECT_EQ(late->body, // due at 11:00 in Berlin
        QStringLiteral("Errands\nDue 11:00 — 2 hours ago\nIf you can read this, Quillery alarms work on this device."));

    std::optional<QList<NotificationRequest>> pending;
    second->pendingRequests([&](const QList<NotificationRequest> &requests) { pending = requests; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return pending.has_value(); }));
    EXPECT_EQ(*pending, QList<NotificationRequest> { ahead }) << "the one still ahead survives the restart whole";
    clock.advance(3600 * 1000 - 1000);
    QTest::qWait(100);
    EXPECT_EQ(server.calls().size(), 2) << "not before its moment";
    clock.advance(1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.calls().size() == 3; }));
    EXPECT_EQ(server.calls().last().summary, QStringLiteral("Task ahead"));
    second.reset();
    EXPECT_TRUE(storedIdentifiers().isEmpty()) << "each fired once: all gone from the file";
}
