#include "platform/notifications/WallClockTimer.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;

// That it rings at its moment and not before is checked through the
// notification centre, which fires its requests with it.
TEST(WallClockTimer, aPassedMomentRingsAtOnceAndANewMomentReplacesTheOld)
{
    WallClockTimer timer;
    QSignalSpy rang(&timer, &WallClockTimer::timeout);
    timer.start(QDateTime::currentDateTimeUtc().addDays(-3));
    ASSERT_TRUE(rang.wait(1000));

    timer.start(QDateTime::currentDateTimeUtc().addMSecs(100));
    timer.start(QDateTime::currentDateTimeUtc().addDays(40)); // beyond what a QTimer can wait at once
    QTest::qWait(400);
    EXPECT_EQ(rang.size(), 1);
    EXPECT_TRUE(timer.isActive());

    timer.stop();
    EXPECT_FALSE(timer.isActive());
}
