// The spring every animation runs on, and the page colour index that a
// damaged or future book may hold.
#include "core/theme/Spring.h"
#include "core/theme/Palette.h"

#include <gtest/gtest.h>

#include <climits>

using namespace quillery;

TEST(Spring, settlesAtItsSettlingTimeAndNotLongBefore)
{
    for (const Spring spring :
        { Spring { 0.5, 0.85 }, Spring { 0.38, 0.7 }, Spring { 0.5, 1.0 }, Spring { 0.3, 2.0 } }) {
        const double settle = spring.settlingTime();
        EXPECT_EQ(spring.progress(0), 0.0);
        for (double t = settle; t < settle + 2.0; t += 0.001)
            ASSERT_NEAR(spring.progress(t), 1.0, 0.001 + 1e-12) << spring.response << "/" << spring.dampingFraction;
        // The time is not padded out: an animation ends when the motion does.
        double late = 0;
        for (double t = settle * 0.6; t < settle; t += 0.001)
            late = std::max(late, std::abs(1.0 - spring.progress(t)));
        EXPECT_GT(late, 0.001);
    }
}

TEST(Palette, anyStoredIndexPicksOneOfTheSevenColours)
{
    for (const int index : { INT_MIN, INT_MIN + 1, -8, -1, 6, 7, 13, INT_MAX }) {
        EXPECT_GE(palette::wrap(index), 0) << index;
        EXPECT_LT(palette::wrap(index), palette::Count) << index;
        EXPECT_EQ(paletteRgb(index), paletteRgb(palette::wrap(index))) << index;
    }
    EXPECT_EQ(paletteName(-1), QStringLiteral("Slate"));
    EXPECT_EQ(paletteName(7), paletteName(0));
}
