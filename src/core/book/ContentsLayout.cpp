#include "ContentsLayout.h"

#include <algorithm>
#include <cmath>

namespace quillery {

ContentsLayout::ContentsLayout(double width, int cellCount)
    : m_width(std::max(0.0, width))
    , m_cellCount(std::max(0, cellCount))
    , m_columns(columnsFor(width))
{
    const double inner = m_width - 2 * Padding - (m_columns - 1) * ColumnSpacing;
    // Too narrow for even one thumbnail: the column keeps the thumbnail's
    // width and the grid overflows to the right rather than squashing it.
    m_columnWidth = std::max(CellWidth, inner / m_columns);
}

int ContentsLayout::columnsFor(double width)
{
    const double inner = width - 2 * Padding;
    // n columns need n * CellWidth + (n - 1) * ColumnSpacing.
    const int fit = static_cast<int>(std::floor((inner + ColumnSpacing) / (CellWidth + ColumnSpacing) + 1e-9));
    return std::max(1, fit);
}

int ContentsLayout::rows() const
{
    return (m_cellCount + m_columns - 1) / m_columns;
}

double ContentsLayout::height() const
{
    const int rowCount = rows();
    if (rowCount == 0)
        return 2 * Padding;
    return 2 * Padding + rowCount * CellHeight + (rowCount - 1) * RowSpacing;
}

QRectF ContentsLayout::cellRect(int index) const
{
    if (index < 0 || index >= m_cellCount)
        return {};
    const int row = index / m_columns;
    const int column = index % m_columns;
    const double columnLeft = Padding + column * (m_columnWidth + ColumnSpacing);
    const double left = columnLeft + (m_columnWidth - CellWidth) / 2;
    const double top = Padding + row * (CellHeight + RowSpacing);
    return QRectF(left, top, CellWidth, CellHeight);
}

int ContentsLayout::cellAt(const QPointF &point) const
{
    if (point.y() < Padding || point.x() < Padding)
        return -1;
    const double pitchY = CellHeight + RowSpacing;
    const double pitchX = m_columnWidth + ColumnSpacing;
    const int row = static_cast<int>(std::floor((point.y() - Padding) / pitchY));
    const int column = static_cast<int>(std::floor((point.x() - Padding) / pitchX));
    if (column >= m_columns)
        return -1;
    const int index = row * m_columns + column;
    if (index >= m_cellCount)
        return -1;
    return cellRect(index).contains(point) ? index : -1;
}

ContentsLayout::Range ContentsLayout::visibleCells(double top, double height) const
{
    if (m_cellCount == 0 || height <= 0)
        return {};
    const double pitch = CellHeight + RowSpacing;
    const double bottom = top + height;
    // A row shows when its cells reach below `top` and start above `bottom`.
    const int firstRow = std::max(0, static_cast<int>(std::floor((top - Padding - CellHeight) / pitch)) + 1);
    const double lastStart = (bottom - Padding) / pitch;
    int lastRow = static_cast<int>(std::ceil(lastStart)) - 1;
    lastRow = std::min(lastRow, rows() - 1);
    if (lastRow < firstRow)
        return {};
    return Range { firstRow * m_columns, std::min(m_cellCount, (lastRow + 1) * m_columns) };
}

int ContentsLayout::moved(int index, Move move, int pageRows) const
{
    if (m_cellCount == 0)
        return -1;
    index = std::clamp(index, 0, m_cellCount - 1);
    const int last = m_cellCount - 1;
    const int step = std::max(1, pageRows) * m_columns;
    switch (move) {
    case Move::Left:
        return std::max(0, index - 1);
    case Move::Right:
        return std::min(last, index + 1);
    case Move::Up:
        return index - m_columns >= 0 ? index - m_columns : index;
    case Move::Down:
        // From a row above a short last row, land on the last cell rather
        // than staying put: there is a row below to go to.
        if (index + m_columns <= last)
            return index + m_columns;
        return rowOf(index) < rowOf(last) ? last : index;
    case Move::First:
        return 0;
    case Move::Last:
        return last;
    case Move::PageUp: {
        int target = index - step;
        while (target < 0)
            target += m_columns;
        return target;
    }
    case Move::PageDown: {
        const int target = index + step;
        if (target <= last)
            return target;
        return moved(index, Move::Last);
    }
    }
    return index;
}

double ContentsLayout::scrolledToShow(int index, double top, double height) const
{
    const QRectF cell = cellRect(index);
    if (cell.isNull())
        return top;
    const double maxTop = std::max(0.0, this->height() - height);
    double wanted = top;
    if (cell.top() - Padding < top)
        wanted = cell.top() - Padding;
    else if (cell.bottom() + Padding > top + height)
        wanted = cell.bottom() + Padding - height;
    return std::clamp(wanted, 0.0, maxTop);
}

} // namespace quillery
