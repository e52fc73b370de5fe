#include "BusyIndicator.h"

#include "PlacesStyle.h"

#include <QPainter>

namespace quillery::ui {

BusyIndicator::BusyIndicator(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    m_timer.setInterval(80);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % Spokes;
        update();
    });
}

void BusyIndicator::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_timer.start();
}

void BusyIndicator::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_timer.stop();
}

void BusyIndicator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height());
    painter.translate(width() / 2.0, height() / 2.0);
    const qreal outer = side / 2.0;
    const qreal inner = outer * 0.45;
    QPen pen(palette().color(QPalette::WindowText));
    pen.setWidthF(std::max(2.0, side / 12.0));
    pen.setCapStyle(Qt::RoundCap);
    for (int i = 0; i < Spokes; ++i) {
        // The spoke of the current step is darkest, the ones behind it fade.
        const int age = (m_step - i + Spokes) % Spokes;
        QColor color = pen.color();
        color.setAlphaF(1.0 - 0.75 * age / (Spokes - 1));
        pen.setColor(color);
        painter.setPen(pen);
        painter.save();
        painter.rotate(360.0 * i / Spokes);
        painter.drawLine(QPointF(0, -inner), QPointF(0, -outer + pen.widthF() / 2));
        painter.restore();
    }
}

} // namespace quillery::ui
