#include "AddAttachmentButton.h"

#include "gui/theme/AppFont.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include "ui/theme/Symbols.h"

#include <QFocusEvent>
#include <QPainter>
#include <QPainterPath>

namespace quillery::ui {

namespace {

constexpr int TextSize = 16;
constexpr int SideInset = 14;
constexpr int MinimumHeight = 40;
constexpr int SymbolSize = 17;
constexpr int SymbolGap = 6;

} // namespace

AddAttachmentButton::AddAttachmentButton(
    const QString &symbol, const QString &text, const Appearance &appearance, QWidget *parent)
    : QAbstractButton(parent)
    , m_appearance(appearance)
    , m_symbol(symbol)
{
    setText(text);
    setAccessibleName(text);
    setFont(systemFont(TextSize, QFont::Medium));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(&m_appearance, &Appearance::schemeChanged, this, qOverload<>(&QWidget::update));
}

QSize AddAttachmentButton::sizeHint() const
{
    const int textWidth = QFontMetrics(font()).horizontalAdvance(text());
    return { SideInset * 2 + SymbolSize + SymbolGap + textWidth, MinimumHeight };
}

void AddAttachmentButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isDown() ? 0.7 : 1.0);
    const ColorScheme scheme = m_appearance.scheme();
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath capsule;
    capsule.addRoundedRect(bounds, bounds.height() / 2, bounds.height() / 2);
    QColor fill = themeColor(ThemeColor::Rule, scheme);
    fill.setAlphaF(fill.alphaF() * 0.6);
    painter.fillPath(capsule, fill);
    const QColor ink = themeColor(ThemeColor::Ink, scheme);
    if (m_keyboardFocus && hasFocus()) {
        QColor ring = palette().color(QPalette::Highlight);
        ring.setAlphaF(1.0);
        painter.setPen(QPen(ring, 2));
        painter.drawPath(capsule);
    }

    const int textWidth = QFontMetrics(font()).horizontalAdvance(text());
    const qreal contentWidth = SymbolSize + SymbolGap + textWidth;
    qreal x = (width() - contentWidth) / 2;
    painter.drawPixmap(
        QPointF(x, (height() - SymbolSize) / 2.0), Symbols::pixmap(m_symbol, SymbolSize, ink, devicePixelRatioF()));
    x += SymbolSize + SymbolGap;
    painter.setPen(ink);
    painter.drawText(QRectF(x, 0, textWidth + 1, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
}

void AddAttachmentButton::focusInEvent(QFocusEvent *event)
{
    m_keyboardFocus = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason
        || event->reason() == Qt::ShortcutFocusReason;
    QAbstractButton::focusInEvent(event);
}

void AddAttachmentButton::focusOutEvent(QFocusEvent *event)
{
    m_keyboardFocus = false;
    QAbstractButton::focusOutEvent(event);
}

} // namespace quillery::ui
