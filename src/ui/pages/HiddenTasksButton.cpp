#include "HiddenTasksButton.h"

#include "gui/theme/AppFont.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"

#include <QPainter>

namespace quillery::ui {

HiddenTasksButton::HiddenTasksButton(const Appearance &appearance, QWidget *parent)
    : QAbstractButton(parent)
    , m_appearance(appearance)
{
    setFont(systemFont(12));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void HiddenTasksButton::setCount(int count)
{
    if (m_count == count && !text().isEmpty())
        return;
    m_count = count;
    setText(tr("%n completed hidden", nullptr, count));
    setAccessibleName(text());
    update();
}

QSize HiddenTasksButton::sizeHint() const
{
    return { TextInset + fontMetrics().horizontalAdvance(text()), MinimumHeight };
}

void HiddenTasksButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QColor ink = themeColor(ThemeColor::MutedInk, m_appearance.scheme());
    if (isDown())
        ink.setAlphaF(0.6);
    painter.setPen(ink);
    painter.setFont(font());
    painter.drawText(rect().adjusted(TextInset, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text());
}

} // namespace quillery::ui
