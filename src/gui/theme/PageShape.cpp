#include "PageShape.h"

namespace quillery {

QPainterPath pageShape(PageSide side, const QRectF &rect)
{
    QPainterPath path;
    switch (side) {
    case PageSide::Single:
        path.addRoundedRect(rect, 0, 0);
        break;
    case PageSide::Left:
    case PageSide::Right:
    case PageSide::Window:
        path.addRect(rect);
        break;
    }
    return path;
}

QPainterPath roundedPageShape(const QRectF &rect)
{
    QPainterPath path;
    path.addRoundedRect(rect, RoundedPageRadius, RoundedPageRadius);
    return path;
}

} // namespace quillery
