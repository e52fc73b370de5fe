#include "PageNumberBlock.h"

#include "gui/theme/AppFont.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"

#include <QFontMetricsF>
#include <QPainter>

namespace quillery::ui {

namespace {

constexpr double LineGap = 2;

// Draws a number of ASCII digits centred in `box`, each digit in a cell as
// wide as the widest digit, so the number does not shift sideways as it
// changes, whatever the font's own digits are like.
void drawTabularDigits(QPainter &painter, const QRectF &box, const QString &digits)
{
    const QFontMetricsF metrics(painter.font());
    double cell = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        cell = std::max(cell, metrics.horizontalAdvance(QLatin1Char(digit)));
    double x = box.center().x() - cell * digits.size() / 2.0;
    for (const QChar digit : digits) {
        painter.drawText(QRectF(x, box.top(), cell, box.height()), Qt::AlignCenter, QString(digit));
        x += cell;
    }
}

} // namespace

PageNumberBlock::PageNumberBlock(const Appearance &appearance, QWidget *parent)
    : QAbstractButton(parent)
    , m_appearance(appearance)
{
    setFixedSize(Frame);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setNumbers(1, 1);
}

void PageNumberBlock::setNumbers(int number, int count)
{
    m_number = number;
    m_count = count;
    setAccessibleName(tr("Page %1 of %2").arg(number).arg(count));
    setToolTip(tr("Show all pages"));
    update();
}

QString PageNumberBlock::numberText() const
{
    return QString::number(m_number);
}

QString PageNumberBlock::countText() const
{
    return tr("of %1").arg(m_count);
}

void PageNumberBlock::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const ColorScheme scheme = m_appearance.scheme();
    const QFont numberFont = systemFont(20, QFont::DemiBold);
    const QFont countFont = systemFont(10);
    const double numberHeight = QFontMetricsF(numberFont).height();
    const double countHeight = QFontMetricsF(countFont).height();
    const double top = (height() - numberHeight - LineGap - countHeight) / 2.0;
    if (isDown())
        painter.setOpacity(0.6);

    painter.setFont(numberFont);
    painter.setPen(themeColor(ThemeColor::Ink, scheme));
    drawTabularDigits(painter, QRectF(0, top, width(), numberHeight), numberText());
    painter.setFont(countFont);
    painter.setPen(themeColor(ThemeColor::MutedInk, scheme));
    painter.drawText(QRectF(0, top + numberHeight + LineGap, width(), countHeight), Qt::AlignHCenter | Qt::AlignVCenter,
        countText());
}

} // namespace quillery::ui
