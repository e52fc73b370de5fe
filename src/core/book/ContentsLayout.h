#pragma once

#include <QPointF>
#include <QRectF>

namespace quillery {

// Where the cells of the contents grid lie: one cell per page and a last cell
// for a new page, all the size of a page thumbnail, in as many columns as fit
// the width (each at least a thumbnail wide, the width shared out evenly, the
// cell centred in its column), inside a padding on every side. Pure geometry
// in points, so the grid can draw and hit-test only what is on screen.
class ContentsLayout final
{
public:
    static constexpr double CellWidth = 190;
    static constexpr double CellHeight = 262;
    static constexpr double ColumnSpacing = 22;
    static constexpr double RowSpacing = 26;
    static constexpr double Padding = 24;

    // Cells [first, last) of the grid.
    struct Range {
        int first = 0;
        int last = 0;
        int count() const { return last - first; }
        bool isEmpty() const { return last <= first; }
        bool contains(int index) const { return index >= first && index < last; }
        friend bool operator==(const Range &, const Range &) = default;
    };

    // How the keyboard moves through the cells.
    enum class Move { Left, Right, Up, Down, First, Last, PageUp, PageDown };

    ContentsLayout(double width, int cellCount);

    // Columns that fit `width`: never fewer than one, however narrow.
    static int columnsFor(double width);

    double width() const { return m_width; }
    int cellCount() const { return m_cellCount; }
    int columns() const { return m_columns; }
    int rows() const;
    double columnWidth() const { return m_columnWidth; }
    // The height of the whole grid, paddings included.
    double height() const;

    QRectF cellRect(int index) const;
    int rowOf(int index) const { return index / m_columns; }
    // The cell under `point`, or -1 in a gap, the padding or past the end.
    int cellAt(const QPointF &point) const;
    // The cells that show, at least in part, in the band `top` .. `top + height`.
    Range visibleCells(double top, double height) const;

    // The cell the keyboard lands on from `index` (the cell itself at an
    // edge). `pageRows`: how many rows a page step covers.
    int moved(int index, Move move, int pageRows = 1) const;

    // The smallest scroll offset change that brings cell `index` fully into
    // the band `top` .. `top + height` (with the padding around it where room
    // allows): the new top.
    double scrolledToShow(int index, double top, double height) const;

private:
    double m_width;
    int m_cellCount;
    int m_columns;
    double m_columnWidth;
};

} // namespace quillery
