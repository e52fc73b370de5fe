#include "ColorDot.h"

#include <QPainter>

namespace quillery::ui {

ColorDot::ColorDot(QWidget *parent)
    : QAbstractButton(parent)
{
    setFixedSize(Size, Size);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void ColorDot::setColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
}

void ColorDot::setEntrance(double scale, double opacity)
{
    m_scale = scale;
    m_opacity = std::clamp(opacity, 0.0, 1.0);
    update();
}

bool ColorDot::hitButton(const QPoint &pos) const
{
    const QPointF offset = QPointF(pos) - QRectF(rect()).center();
    return offset.x() * offset.x() + offset.y() * offset.y() <= (Size / 2.0) * (Size / 2.0);
}

void ColorDot::paintEvent(QPaintEvent *)
{
    if (m_opacity <= 0.0 || m_scale <= 0.0)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_opacity * (isDown() ? 0.7 : 1.0));
    const double radius = Size / 2.0 * m_scale;
    // Anchored at the top: the dot grows downwards from its top edge.
    const QPointF centre(Size / 2.0, radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_color);
    painter.drawEllipse(centre, radius, radius);
    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(255, 255, 255, 200), 2));
        painter.drawEllipse(centre, radius - 3, radius - 3);
    }
}

} // namespace quillery::ui
