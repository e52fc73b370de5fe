#include "app/SingleInstance.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtConcurrent>
#include <gtest/gtest.h>

using namespace quillery;

TEST(SingleInstance, theSecondHolderOfABookIsTurnedAwayAndWakesTheFirst)
{
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    ASSERT_TRUE(first.acquire());

    SingleInstance second(dir.path());
    EXPECT_FALSE(second.acquire());

    QSignalSpy activated(&first, &SingleInstance::activationRequested);
    // The second launch blocks while it waits for the answer, so it runs on
    // another thread while this one serves the first instance's socket.
    QFuture<bool> answered = QtConcurrent::run([&] { return second.activateRunning(3000); });
    EXPECT_TRUE(activated.wait(3000));
    answered.waitForFinished();
    EXPECT_TRUE(answered.result());
}

TEST(SingleInstance, booksInDifferentFoldersDoNotMeet)
{
    QTemporaryDir a;
    QTemporaryDir b;
    SingleInstance first(a.path());
    SingleInstance other(b.path());
    EXPECT_TRUE(first.acquire());
    EXPECT_TRUE(other.acquire());
    EXPECT_NE(first.serverName(), other.serverName());
}

TEST(SingleInstance, theLockIsFreeAgainWhenTheHolderEnds)
{
    QTemporaryDir dir;
    {
        SingleInstance first(dir.path());
        ASSERT_TRUE(first.acquire());
    }
    SingleInstance next(dir.path());
    EXPECT_TRUE(next.acquire());
}
