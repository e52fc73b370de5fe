// When a drag turns a page, how far, and whether letting go completes it.
#include "core/book/TurnDrag.h"

#include <gtest/gtest.h>

using namespace quillery;

namespace {
const auto always = [](Dir) { return true; };
const auto never = [](Dir) { return false; };
} // namespace

TEST(TurnDrag, onlyAClearlyHorizontalDragStartsATurnAndADiagonalOneNever)
{
    EXPECT_EQ(TurnDrag::change(DragMode::Undecided, -14, 0, false, false, always).mode, DragMode::Undecided);
    EXPECT_EQ(TurnDrag::change(DragMode::Undecided, -15, 1, false, false, always).mode, DragMode::Flipping);
    EXPECT_EQ(TurnDrag::change(DragMode::Undecided, 30, -5, false, false, always).start, Dir::Backward);
    // Exactly 1.4 × |dy| is not horizontal enough.
    EXPECT_EQ(TurnDrag::change(DragMode::Undecided, 28, 20, false, false, always).mode, DragMode::Ignored);

    // Nothing turns while a task is lifted, a turn runs, or the book refuses.
    EXPECT_EQ(TurnDrag::change(DragMode::Undecided, -200, 0, true, false, always).mode, DragMode::Undecided);
    EXPECT_EQ(TurnDrag::change(DragMode::Undecided, -200, 0, false, true, always).mode, DragMode::Ignored);
    EXPECT_EQ(TurnDrag::change(DragMode::Undecided, -200, 0, false, false, never).mode, DragMode::Ignored);
}

TEST(TurnDrag, lettingGoCompletesPastAThirdOrOnAFling)
{
    const double W = 600;
    EXPECT_DOUBLE_EQ(TurnDrag::progress(Dir::Forward, 50, W), 0.0) << "dragging back past the start";
    EXPECT_DOUBLE_EQ(TurnDrag::progress(Dir::Forward, -900, W), 1.0);
    EXPECT_DOUBLE_EQ(TurnDrag::progress(Dir::Forward, -900, 0), 0.0);
    // 200 points: progress 0.33, small fling: cancels; 220 points commits.
    EXPECT_FALSE(TurnDrag::commits(Dir::Forward, TurnDrag::progress(Dir::Forward, -200, W), -210, W));
    EXPECT_TRUE(TurnDrag::commits(Dir::Forward, TurnDrag::progress(Dir::Forward, -220, W), -220, W));
    // 100 points flung beyond 240: commits.
    EXPECT_TRUE(TurnDrag::commits(Dir::Forward, TurnDrag::progress(Dir::Forward, -100, W), -241, W));
    EXPECT_FALSE(TurnDrag::commits(Dir::Forward, TurnDrag::progress(Dir::Forward, -100, W), -240, W));
    // A backward fling is measured rightwards.
    EXPECT_TRUE(TurnDrag::commits(Dir::Backward, 0.1, 300, W));
    EXPECT_FALSE(TurnDrag::commits(Dir::Backward, 0.1, -300, W));
}
