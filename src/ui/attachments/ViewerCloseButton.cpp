#include "ViewerCloseButton.h"

#include "ui/theme/Symbols.h"

#include <QPainter>

namespace quillery::ui {

ViewerCloseButton::ViewerCloseButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFixedSize(Side, Side);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Close"));
    setToolTip(tr("Close"));
}

void ViewerCloseButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isDown() ? 0.7 : 1.0);
    painter.setPen(hasFocus() ? QPen(Qt::white, 1.5) : Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 64));
    painter.drawEllipse(QRectF(rect()).adjusted(1, 1, -1, -1));
    const int symbol = Side / 2;
    const QPixmap cross = Symbols::pixmap(QStringLiteral("xmark"), symbol, Qt::white, devicePixelRatioF());
    painter.drawPixmap(QPointF((width() - symbol) / 2.0, (height() - symbol) / 2.0), cross);
}

} // namespace quillery::ui
