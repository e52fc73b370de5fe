#include "core/pages/RowFrames.h"

#include <gtest/gtest.h>

using namespace quillery;

TEST(RowFrames, aLaterReportOfTheSameRowWins)
{
    const QUuid a = QUuid::createUuid();
    const QUuid b = QUuid::createUuid();
    RowFrames collected;
    EXPECT_TRUE(collected.isEmpty());
    EXPECT_FALSE(collected.frame(a));

    // Rows report one entry each, in list order; a row drawn twice during a
    // transition reports twice.
    collected.reduce(RowFrames { { a, QRectF(0, 0, 500, 44) } });
    collected.reduce(RowFrames { { b, QRectF(0, 44, 500, 64) } });
    collected.reduce(RowFrames { { a, QRectF(0, 108, 500, 44) } });

    EXPECT_EQ(collected.size(), 2);
    EXPECT_EQ(collected.frame(a), QRectF(0, 108, 500, 44));
    EXPECT_EQ(collected.frame(b), QRectF(0, 44, 500, 64));
}
