#include "DropIndicator.h"

#include <QPainter>

#include <cmath>

namespace quillery::ui {

DropIndicator::DropIndicator(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void DropIndicator::setColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
}

void DropIndicator::place(double left, double right, double y)
{
    const int top = static_cast<int>(std::lround(y - Thickness / 2));
    const int x = static_cast<int>(std::lround(left));
    setGeometry(x, top, std::max(0, static_cast<int>(std::lround(right)) - x), static_cast<int>(Thickness));
}

void DropIndicator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_color);
}

} // namespace quillery::ui
