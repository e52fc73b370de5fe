#include "BlankPageView.h"

#include "gui/theme/AppFont.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/PageShape.h"
#include "gui/theme/PaletteColor.h"
#include "gui/theme/ThemeColors.h"
#include "ui/theme/PaperBackground.h"

#include <QFontMetricsF>
#include <QPainter>

namespace quillery::ui {

namespace {
constexpr double DotSize = 26;
constexpr double DotTop = 25;
constexpr double DotTrailing = 28;
constexpr double NumberBottom = 22;
} // namespace

BlankPageView::BlankPageView(int number, int colorIndex, const Appearance &appearance, QWidget *parent)
    : QWidget(parent)
    , m_appearance(appearance)
    , m_number(number)
    , m_colorIndex(colorIndex)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(tr("Page %1").arg(number));
    connect(&m_appearance, &Appearance::schemeChanged, this, qOverload<>(&QWidget::update));
}

void BlankPageView::setNumber(int number)
{
    m_number = number;
    setAccessibleName(tr("Page %1").arg(number));
    update();
}

void BlankPageView::setColorIndex(int index)
{
    m_colorIndex = index;
    update();
}

void BlankPageView::setSide(PageSide side)
{
    m_side = side;
    update();
}

void BlankPageView::setInsets(const PageInsets &insets)
{
    m_insets = insets;
    update();
}

QRectF BlankPageView::dotRect() const
{
    const bool rtl = layoutDirection() == Qt::RightToLeft;
    const double fromEdge = m_insets.trailing + DotTrailing;
    const double x = rtl ? fromEdge : width() - fromEdge - DotSize;
    return QRectF(x, m_insets.top + DotTop, DotSize, DotSize);
}

QRectF BlankPageView::numberRect() const
{
    const double height = QFontMetricsF(systemFont(20, QFont::DemiBold)).height();
    return QRectF(0, this->height() - NumberBottom - height, width(), height);
}

void BlankPageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const ColorScheme scheme = m_appearance.scheme();
    painter.fillRect(rect(), themeColor(ThemeColor::Desk, scheme));
    painter.setClipPath(pageShape(m_side, rect()));
    PaperBackground::paintSheet(painter, rect(), paperTint(m_colorIndex, scheme), scheme);

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(paletteColor(m_colorIndex));
    painter.drawEllipse(dotRect());

    painter.setFont(systemFont(20, QFont::DemiBold));
    painter.setPen(themeColor(ThemeColor::Ink, scheme));
    painter.drawText(numberRect(), Qt::AlignHCenter | Qt::AlignVCenter, QString::number(m_number));
}

} // namespace quillery::ui
