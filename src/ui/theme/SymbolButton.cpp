#include "SymbolButton.h"

#include "Symbols.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"

#include <QPainter>

namespace quillery::ui {

SymbolButton::SymbolButton(
    const QString &symbol, int symbolSize, const QSize &frame, const Appearance &appearance, QWidget *parent)
    : QAbstractButton(parent)
    , m_appearance(appearance)
    , m_symbol(symbol)
    , m_symbolSize(symbolSize)
    , m_frame(frame)
{
    setFixedSize(frame);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
}

void SymbolButton::setLook(Look look)
{
    if (m_look == look)
        return;
    m_look = look;
    setEnabled(look == Look::Active);
    setCursor(look == Look::Active ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
}

void SymbolButton::paintEvent(QPaintEvent *)
{
    if (m_look == Look::Hidden)
        return;
    QPainter painter(this);
    double opacity = m_look == Look::Faded ? 0.3 : 1.0;
    if (isDown())
        opacity *= 0.5;
    painter.setOpacity(opacity);
    const QColor ink = themeColor(ThemeColor::MutedInk, m_appearance.scheme());
    const QPixmap symbol = Symbols::pixmap(m_symbol, m_symbolSize, ink, devicePixelRatioF());
    painter.drawPixmap(QPointF((width() - m_symbolSize) / 2.0, (height() - m_symbolSize) / 2.0), symbol);
}

} // namespace quillery::ui
