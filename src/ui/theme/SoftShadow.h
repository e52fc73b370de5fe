#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>

class QPainter;

namespace quillery::ui {

// A soft drop shadow under a shape (the swatch card, lifted rows, page
// thumbnails): the shape filled with `color`, blurred by `radius` points and
// moved by `offset`. Blurred images are kept per shape size, so drawing the
// same shadow again costs one blit.
class SoftShadow final
{
public:
    static void paint(
        QPainter &painter, const QPainterPath &shape, const QColor &color, double radius, const QPointF &offset);

    // How far a shadow of `radius` reaches beyond its shape.
    static double reach(double radius) { return radius * 1.5 + 1; }
};

} // namespace quillery::ui
