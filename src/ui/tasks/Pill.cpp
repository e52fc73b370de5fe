#include "Pill.h"

#include "gui/theme/AppFont.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include "ui/theme/Symbols.h"

#include <QFocusEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace quillery::ui {

namespace {
constexpr int SymbolSize = 16;
constexpr double OffOpacity = 0.6;
constexpr double PressedOpacity = 0.7;
} // namespace

Pill::Pill(const QString &text, const Appearance &appearance, QWidget *parent)
    : QAbstractButton(parent)
    , m_appearance(appearance)
{
    setText(text);
    setAccessibleName(text);
    setFont(systemFont(16, QFont::Medium));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(&m_appearance, &Appearance::schemeChanged, this, qOverload<>(&QWidget::update));
}

void Pill::setOn(bool on)
{
    if (m_on == on)
        return;
    m_on = on;
    update();
}

void Pill::setAccent(const QColor &accent)
{
    if (m_accent == accent)
        return;
    m_accent = accent;
    update();
}

void Pill::setSymbol(const QString &symbol, int symbolFrame)
{
    m_symbol = symbol;
    m_symbolFrame = symbolFrame;
    updateGeometry();
    update();
}

QSize Pill::sizeHint() const
{
    double width = 2 * SideInset;
    if (!text().isEmpty())
        width += QFontMetricsF(font()).horizontalAdvance(text());
    if (!m_symbol.isEmpty())
        width += text().isEmpty() ? m_symbolFrame : SymbolSize + SymbolGap;
    return { static_cast<int>(std::ceil(width)), MinimumHeight };
}

void Pill::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QAbstractButton::changeEvent(event);
}

void Pill::focusInEvent(QFocusEvent *event)
{
    // A ring only for focus that came from the keyboard, not from a click.
    m_focusFromKeyboard = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void Pill::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ColorScheme scheme = m_appearance.scheme();
    if (isDown())
        painter.setOpacity(PressedOpacity);
    if (!isEnabled())
        painter.setOpacity(0.4);

    const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = capsule.height() / 2.0;
    QColor fill = m_on ? m_accent : themeColor(ThemeColor::Rule, scheme);
    if (!m_on)
        fill.setAlphaF(OffOpacity);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(capsule, radius, radius);

    const QColor ink = m_on ? QColor(Qt::white) : themeColor(ThemeColor::Ink, scheme);
    double x = SideInset;
    if (!m_symbol.isEmpty()) {
        const double frame = text().isEmpty() ? m_symbolFrame : SymbolSize;
        const QPixmap pm = Symbols::pixmap(m_symbol, SymbolSize, ink, devicePixelRatioF());
        const double left = text().isEmpty() ? (width() - SymbolSize) / 2.0 : x + (frame - SymbolSize) / 2.0;
        painter.drawPixmap(QPointF(left, (height() - SymbolSize) / 2.0), pm);
        x += frame + (text().isEmpty() ? 0 : SymbolGap);
    }
    if (!text().isEmpty()) {
        painter.setFont(font());
        painter.setPen(ink);
        painter.drawText(QRectF(x, 0, width() - x - SideInset + 1, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    }

    if (hasFocus() && m_focusFromKeyboard) {
        painter.setOpacity(1.0);
        QColor ring = m_accent;
        ring.setAlphaF(0.55);
        painter.setPen(QPen(ring, 2));
        painter.setBrush(Qt::NoBrush);
        const QRectF outer = QRectF(rect()).adjusted(1, 1, -1, -1);
        painter.drawRoundedRect(outer, outer.height() / 2.0, outer.height() / 2.0);
    }
}

} // namespace quillery::ui
