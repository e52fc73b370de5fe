#include "Backdrop.h"

#include "core/theme/Appearance.h"
#include "core/theme/ThemeColors.h"

#include <QPaintEvent>
#include <QPainter>

namespace quillery::ui {

Backdrop::Backdrop(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&Appearance::shared(), &Appearance::schemeChanged, this, qOverload<>(&QWidget::update));
}

void Backdrop::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), themeColor(ThemeColor::Desk, Appearance::shared().scheme()));
}

} // namespace quillery::ui
