// When a drag turns a page, how far, and whether letting go completes it.
#include "core/book/TurnDrag.h"
#include "core/book/TurnLayers.h"

#include <gtest/gtest.h>

using namespace quillery;

namespace {
const auto always = [](Dir) { return true; };
const auto never = [](Dir) { return false; };
} // namespace

TEST(TurnDrag, aShortDragWaitsAndAHorizontalOneStartsATurnInItsDirection)
{
    EXPECT_EQ(TurnDrag::change(DragMode::Undecided, -14, 0, false, false, always).mode, DragMode::Undecided);
    EXPECT_EQ(TurnDrag::change(DragMode::Undecided, 9, 10, false, false, always).mode, DragMode::Undecided);

    const auto left = TurnDrag::change(DragMode::Undecided, -15, 1, false, false, always);
    EXPECT_EQ(left.mode, DragMode::Flipping);
    EXPECT_EQ(left.start, Dir::Forward) << "dragging leftwards turns forward";
    const auto right = TurnDrag::change(DragMode::Undecided, 30, -5, false, false, always);
    EXPECT_EQ(right.start, Dir::Backward);
}

TEST(TurnDrag, aDiagonalDragIsIgnoredForItsWholeLength)
{
    auto step = TurnDrag::change(DragMode::Undecided, 20, 20, false, false, always);
    EXPECT_EQ(step.mode, DragMode::Ignored);
    // It later becomes perfectly horizontal: still ignored.
    step = TurnDrag::change(step.mode, 300, 20, false, false, always);
    EXPECT_EQ(step.mode, DragMode::Ignored);
    EXPECT_FALSE(step.start);
    // Exactly 1.4 × |ty| is not horizontal enough.
    EXPECT_EQ(TurnDrag::change(DragMode::Undecided, 28, 20, false, false, always).mode, DragMode::Ignored);
}

TEST(TurnDrag, noTurnWhileLiftedRunningOrRefused)
{
    EXPECT_EQ(TurnDrag::change(DragMode::Undecided, -200, 0, true, false, always).mode, DragMode::Undecided);
    EXPECT_EQ(TurnDrag::change(DragMode::Undecided, -200, 0, false, true, always).mode, DragMode::Ignored);
    EXPECT_EQ(TurnDrag::change(DragMode::Undecided, -200, 0, false, false, never).mode, DragMode::Ignored);
}

TEST(TurnDrag, progressFollowsTheDragOverTheSpanClamped)
{
    EXPECT_DOUBLE_EQ(TurnDrag::progress(Dir::Forward, -150, 600), 0.25);
    EXPECT_DOUBLE_EQ(TurnDrag::progress(Dir::Backward, 150, 600), 0.25);
    EXPECT_DOUBLE_EQ(TurnDrag::progress(Dir::Forward, 50, 600), 0.0) << "dragging back past the start";
    EXPECT_DOUBLE_EQ(TurnDrag::progress(Dir::Forward, -900, 600), 1.0);
    EXPECT_DOUBLE_EQ(TurnDrag::progress(Dir::Forward, -900, 0), 0.0);
}

TEST(TurnDrag, lettingGoCompletesPastAThirdOrOnAFling)
{
    const double W = 600;
    // 200 points: progress 0.33, small fling: cancels.
    EXPECT_FALSE(TurnDrag::commits(Dir::Forward, TurnDrag::progress(Dir::Forward, -200, W), -210, W));
    // 220 points: 0.37 commits.
    EXPECT_TRUE(TurnDrag::commits(Dir::Forward, TurnDrag::progress(Dir::Forward, -220, W), -220, W));
    // 100 points flung beyond 240: commits.
    EXPECT_TRUE(TurnDrag::commits(Dir::Forward, TurnDrag::progress(Dir::Forward, -100, W), -241, W));
    EXPECT_FALSE(TurnDrag::commits(Dir::Forward, TurnDrag::progress(Dir::Forward, -100, W), -240, W));
    // A backward fling is measured rightwards.
    EXPECT_TRUE(TurnDrag::commits(Dir::Backward, 0.1, 300, W));
    EXPECT_FALSE(TurnDrag::commits(Dir::Backward, 0.1, -300, W));
}

TEST(TurnLayers, theHigherPageLiesOnTopAndSlidesInFromTheRight)
{
    const double W = 600;
    auto forward = TurnLayers::compute(Dir::Forward, 0.0, 3, W);
    EXPECT_EQ(forward.bottom.index, 3);
    EXPECT_EQ(forward.top.index, 4);
    EXPECT_DOUBLE_EQ(forward.top.offsetX, W);
    EXPECT_DOUBLE_EQ(forward.bottom.darkness, 0.0);
    EXPECT_DOUBLE_EQ(forward.top.shadow, 0.0);

    forward = TurnLayers::compute(Dir::Forward, 0.5, 3, W);
    EXPECT_DOUBLE_EQ(forward.top.offsetX, 300);
    EXPECT_DOUBLE_EQ(forward.bottom.offsetX, -54);
    EXPECT_DOUBLE_EQ(forward.bottom.darkness, 0.07);
    EXPECT_NEAR(forward.top.shadow, 0.22, 1e-12);

    // Backward: the current page is on top and slides away as progress grows.
    auto backward = TurnLayers::compute(Dir::Backward, 0.25, 3, W);
    EXPECT_EQ(backward.bottom.index, 2);
    EXPECT_EQ(backward.top.index, 3);
    EXPECT_DOUBLE_EQ(backward.top.offsetX, 150);
    backward = TurnLayers::compute(Dir::Backward, 1.0, 3, W);
    EXPECT_DOUBLE_EQ(backward.top.offsetX, W);
    EXPECT_DOUBLE_EQ(backward.top.shadow, 0.0);
}
