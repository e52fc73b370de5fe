#include "AlarmTestSupport.h"
#include "FakeNotificationCenter.h"

#include "core/alarms/AlarmStatus.h"

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

} // namespace

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
