#include "PlainButton.h"

#include <QFocusEvent>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace quillery::ui {

namespace {
constexpr int Pad = 2; // room for the focus ring
} // namespace

PlainButton::PlainButton(const QString &text, const QFont &font, const QColor &color, QWidget *parent)
    : QAbstractButton(parent)
    , m_color(color)
{
    setText(text);
    setAccessibleName(text);
    setFont(font);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PlainButton::setColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
}

void PlainButton::setTextAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void PlainButton::setMinimumTextHeight(int height)
{
    m_minimumHeight = height;
    updateGeometry();
}

QSize PlainButton::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const int width = static_cast<int>(std::ceil(metrics.horizontalAdvance(text()))) + 2 * Pad;
    const int height = std::max(m_minimumHeight, static_cast<int>(std::ceil(metrics.height())) + 2 * Pad);
    return { width, height };
}

void PlainButton::focusInEvent(QFocusEvent *event)
{
    m_focusFromKeyboard = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void PlainButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor color = m_color;
    if (isDown())
        color.setAlphaF(color.alphaF() * 0.5);
    if (!isEnabled())
        color.setAlphaF(color.alphaF() * 0.35);
    painter.setFont(font());
    painter.setPen(color);
    const QRectF area = QRectF(rect()).adjusted(Pad, 0, -Pad, 0);
    painter.drawText(area, static_cast<int>(m_alignment), text());

    if (hasFocus() && m_focusFromKeyboard) {
        QColor ring = m_color;
        ring.setAlphaF(0.5);
        painter.setPen(QPen(ring, 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75), 6, 6);
    }
}

} // namespace quillery::ui
