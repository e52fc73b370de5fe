#include "AlarmTestSupport.h"
#include "FakeNotificationCenter.h"

#include "core/alarms/AlarmRequests.h"
#include "core/alarms/AlarmStatus.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

class AlarmStatusTest : public ::testing::Test
{
protected:
    void SetUp() override { quillery::test::clearAlarmLog(); }
    void TearDown() override { center.stop(); }

    // Runs ensurePermission to its end and returns its answer.
    bool ensurePermission()
    {
        std::optional<bool> granted;
        status.ensurePermission(center, clock, [&](bool g) { granted = g; });
        center.settle();
        EXPECT_TRUE(granted.has_value());
        return granted.value_or(false);
    }

    ManualClock clock { QDateTime(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC) };
    FakeNotificationCenter center;
    AlarmStatus status;
};

NotificationRequest pendingTask(int n)
{
    NotificationRequest request = makeTestRequest(60);
    request.identifier = QStringLiteral("00000000-0000-4000-8000-%1").arg(n, 12, 10, QLatin1Char('0'));
    return request;
}

} // namespace

TEST_F(AlarmStatusTest, statusLineForEveryPermission)
{
    EXPECT_EQ(status.statusLine(), QStringLiteral("Alarms: waiting for permission")) << "before the first refresh";
    const QString texts[5][2] = {
        { QStringLiteral("Alarms: waiting for permission"), QStringLiteral("Alarms: waiting for permission") },
        { QStringLiteral("Alarms: notifications are off for Quillery"),
            QStringLiteral("Alarms: notifications are off for Quillery") },
        { QStringLiteral("Alarms: none scheduled"), QStringLiteral("Alarms: 3 scheduled") },
        { QStringLiteral("Alarms: none scheduled"), QStringLiteral("Alarms: 3 scheduled") },
        { QStringLiteral("Alarms: none scheduled"), QStringLiteral("Alarms: 3 scheduled") },
    };
    for (int authorization = 0; authorization < 5; ++authorization) {
        status.setAuthorization(authorization);
        status.setPending(0);
        EXPECT_EQ(status.statusLine(), texts[authorization][0]) << authorization;
        status.setPending(3);
        EXPECT_EQ(status.statusLine(), texts[authorization][1]) << authorization;
    }
}

TEST_F(AlarmStatusTest, refreshCountsTaskRequestsOnlyAndWritesOnlyChanges)
{
    QSignalSpy authorizationChanges(&status, &AlarmStatus::authorizationChanged);
    QSignalSpy pendingChanges(&status, &AlarmStatus::pendingChanged);
    center.pending = { makeTestRequest(10) };
    status.refresh(center);
    center.settle();
    EXPECT_EQ(status.pending(), 0);
    EXPECT_EQ(status.statusLine(), QStringLiteral("Alarms: none scheduled")) << "the test alarm does not count";

    center.pending += { pendingTask(1), pendingTask(2) };
    status.refresh(center);
    status.refresh(center);
    center.settle();
    EXPECT_EQ(status.statusLine(), QStringLiteral("Alarms: 2 scheduled"));
    EXPECT_EQ(authorizationChanges.size(), 1);
    EXPECT_EQ(pendingChanges.size(), 1) << "the same count read twice is written once";
}

TEST_F(AlarmStatusTest, deniedPermissionIsRecordedLoggedAndRefused)
{
    center.authorization = AlarmStatus::Denied;
    center.pending = { pendingTask(1) };
    QSignalSpy showDeniedChanges(&status, &AlarmStatus::showDeniedChanged);

    EXPECT_FALSE(ensurePermission());
    EXPECT_TRUE(status.showDenied());
    EXPECT_TRUE(center.authorizationRequests.isEmpty()) << "a decided status is not asked again";
    EXPECT_EQ(status.statusLine(), QStringLiteral("Alarms: notifications are off for Quillery"));
    EXPECT_EQ(quillery::test::alarmLogLines(),
        QStringList {
            QStringLiteral("2026-03-01T09:00:00Z authorization: 1 (0 notDetermined, 1 denied, 2 authorized)") });

    EXPECT_FALSE(ensurePermission());
    EXPECT_EQ(showDeniedChanges.size(), 1);
}

TEST_F(AlarmStatusTest, permissionNeverAskedIsAskedOnceAndTheStatusReadAfterwardsDecides)
{
    center.authorization = AlarmStatus::NotDetermined;
    center.answer = AlarmStatus::Provisional;
    EXPECT_TRUE(ensurePermission()) << "provisional permission delivers";
    EXPECT_EQ(center.authorizationRequests.size(), 1);
    EXPECT_EQ(status.authorization(), AlarmStatus::Provisional);
    EXPECT_FALSE(status.showDenied());

    center.authorization = AlarmStatus::Ephemeral;
    EXPECT_FALSE(ensurePermission());
    EXPECT_FALSE(status.showDenied());
    EXPECT_EQ(quillery::test::alarmLogLines().last(),
        QStringLiteral("2026-03-01T09:00:00Z authorization: 4 (0 notDetermined, 1 denied, 2 authorized)"));
}
