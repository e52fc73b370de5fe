// Where the cells of the contents grid lie, and which of them are on screen.
#include "core/book/ContentsLayout.h"

#include <gtest/gtest.h>

using quillery::ContentsLayout;
using Move = ContentsLayout::Move;

TEST(ContentsLayout, aCentredGridOfAtLeastOneColumnWhosePointsFindTheirCells)
{
    EXPECT_EQ(ContentsLayout::columnsFor(120), 1) << "a window narrower than a thumbnail";
    EXPECT_EQ(ContentsLayout::columnsFor(-50), 1);
    for (const double width : { 150.0, 600.0, 1333.0 }) {
        const ContentsLayout layout(width, 7);
        const QRectF first = layout.cellRect(0);
        const QRectF last = layout.cellRect(layout.columns() - 1);
        if (layout.columns() > 1) {
            EXPECT_NEAR(first.left(), width - last.right(), 1e-9) << width << ": as much room left as right";
        }
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(layout.cellAt(layout.cellRect(i).center()), i) << width << " " << i;
        EXPECT_TRUE(layout.cellRect(7).isNull());
        EXPECT_TRUE(layout.cellRect(-1).isNull());
    }
    const ContentsLayout layout(600, 5);
    EXPECT_EQ(layout.cellAt(QPointF(10, 100)), -1); // padding
    EXPECT_EQ(layout.cellAt(QPointF(300, 100)), -1); // between the columns
    EXPECT_EQ(layout.cellAt(QPointF(100, 299)), -1); // between the rows
    EXPECT_EQ(layout.cellAt(layout.cellRect(4).center() + QPointF(287, 0)), -1); // the empty slot after the last
}

TEST(ContentsLayout, visibleCellsAreExactlyThoseReachingIntoTheBand)
{
    for (const double width : { 300.0, 600.0, 700.0, 1333.0 }) {
        const ContentsLayout layout(width, 501);
        for (double top = 0; top < layout.height(); top += 37.5) {
            for (const double height : { 1.0, 262.0, 834.0 }) {
                int first = -1;
                int last = -1;
                for (int i = 0; i < layout.cellCount(); ++i) {
                    const QRectF cell = layout.cellRect(i);
                    if (cell.bottom() > top && cell.top() < top + height) {
                        first = first < 0 ? i : first;
                        last = i + 1;
                    }
                }
                const ContentsLayout::Range range = layout.visibleCells(top, height);
                if (first < 0) {
                    EXPECT_TRUE(range.isEmpty()) << width << " " << top << " " << height;
                    continue;
                }
                // Whole rows of cells; the slot after the last cell is not a cell.
                EXPECT_EQ(range.first, first - first % layout.columns()) << width << " " << top;
                EXPECT_EQ(
                    range.last, std::min(501, (last + layout.columns() - 1) / layout.columns() * layout.columns()))
                    << width << " " << top;
            }
        }
    }
    // A 600-point window 834 high at the top: three rows.
    EXPECT_EQ(ContentsLayout(600, 501).visibleCells(0, 834), (ContentsLayout::Range { 0, 6 }));
    // A band that ends exactly where a row begins does not take it in.
    EXPECT_EQ(ContentsLayout(600, 501).visibleCells(0, 312), (ContentsLayout::Range { 0, 2 }));
    EXPECT_TRUE(ContentsLayout(600, 0).visibleCells(0, 834).isEmpty());
    EXPECT_TRUE(ContentsLayout(600, 3).visibleCells(2000, 834).isEmpty());
}

TEST(ContentsLayout, keyboardMovesStayInsideTheGrid)
{
    // Two columns, seven cells: the last row holds cell 6 alone.
    const ContentsLayout layout(600, 7);
    EXPECT_EQ(layout.moved(0, Move::Left), 0);
    EXPECT_EQ(layout.moved(1, Move::Up), 1);
    EXPECT_EQ(layout.moved(6, Move::Right), 6);
    EXPECT_EQ(layout.moved(6, Move::Down), 6);
    // From above a short last row the way down leads to the last cell.
    EXPECT_EQ(layout.moved(5, Move::Down), 6);
    EXPECT_EQ(layout.moved(4, Move::Down), 6);
    EXPECT_EQ(layout.moved(3, Move::Last), 6);
    EXPECT_EQ(layout.moved(3, Move::First), 0);
    EXPECT_EQ(layout.moved(1, Move::PageDown, 2), 5);
    EXPECT_EQ(layout.moved(3, Move::PageDown, 2), 6);
    EXPECT_EQ(layout.moved(5, Move::PageUp, 2), 1);
    // Too few rows above: the same column in the first row.
    EXPECT_EQ(layout.moved(3, Move::PageUp, 3), 1);
    EXPECT_EQ(ContentsLayout(600, 0).moved(0, Move::Right), -1);
}

TEST(ContentsLayout, scrollingToACellMovesOnlyAsFarAsNeeded)
{
    const ContentsLayout layout(600, 501);
    const double view = 834;
    EXPECT_DOUBLE_EQ(layout.scrolledToShow(3, 0, view), 0); // already in view
    EXPECT_DOUBLE_EQ(layout.scrolledToShow(6, 0, view), layout.cellRect(6).bottom() + 24 - view);
    EXPECT_DOUBLE_EQ(layout.scrolledToShow(4, 5000, view), layout.cellRect(4).top() - 24);
    EXPECT_DOUBLE_EQ(layout.scrolledToShow(500, 0, view), layout.height() - view);
}
