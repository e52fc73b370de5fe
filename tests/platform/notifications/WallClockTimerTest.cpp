#include "platform/notifications/WallClockTimer.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quillery;

TEST(WallClockTimer, ringsOnceAtItsMomentNotBefore)
{
    WallClockTimer timer;
    QSignalSpy rang(&timer, &WallClockTimer::timeout);
    const QDateTime deadline = QDateTime::currentDateTimeUtc().addMSecs(300);
    QDateTime heard;
    QObject::connect(&timer, &WallClockTimer::timeout, [&] { heard = QDateTime::currentDateTimeUtc(); });
    timer.start(deadline);
    ASSERT_TRUE(rang.wait(3000));
    EXPECT_GE(heard, deadline);
    EXPECT_FALSE(timer.isActive());
    QTest::qWait(200);
    EXPECT_EQ(rang.size(), 1);
}

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
