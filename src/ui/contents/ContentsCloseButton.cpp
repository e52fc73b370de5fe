#include "ContentsCloseButton.h"

#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"

#include <QApplication>
#include <QPainter>

namespace quillery::ui {

ContentsCloseButton::ContentsCloseButton(const Appearance &appearance, QWidget *parent)
    : QAbstractButton(parent)
    , m_appearance(appearance)
{
    setFixedSize(sizeHint());
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(tr("Close"));
    setToolTip(tr("Close"));
    connect(&m_appearance, &Appearance::schemeChanged, this, qOverload<>(&QWidget::update));
}

void ContentsCloseButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor muted = themeColor(ThemeColor::MutedInk, m_appearance.scheme());
    if (isDown())
        painter.setOpacity(0.5);
    const QRectF disc((width() - Diameter) / 2.0, (height() - Diameter) / 2.0, Diameter, Diameter);
    QColor back = muted;
    back.setAlphaF(0.28);
    painter.setPen(Qt::NoPen);
    painter.setBrush(back);
    painter.drawEllipse(disc);

    // The cross, a little under half the disc.
    const double arm = Diameter * 0.19;
    const QPointF c = disc.center();
    painter.setPen(QPen(muted, 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(c + QPointF(-arm, -arm), c + QPointF(arm, arm));
    painter.drawLine(c + QPointF(-arm, arm), c + QPointF(arm, -arm));

    if (hasFocus()) {
        painter.setOpacity(1);
        painter.setPen(QPen(QApplication::palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(disc.adjusted(-1.5, -1.5, 1.5, 1.5));
    }
}

} // namespace quillery::ui
