#include "TurnPicture.h"

#include "core/book/TurnLayers.h"
#include "gui/theme/Appearance.h"
#include "gui/theme/ThemeColors.h"
#include "ui/theme/SoftShadow.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace quillery::ui {

TurnPicture::TurnPicture(const Appearance &appearance, QWidget *parent)
    : QWidget(parent)
    , m_appearance(appearance)
{
    // Every pixel is drawn: the pages below need no repaint per frame.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setObjectName(QStringLiteral("turnPicture"));
}

void TurnPicture::setPictures(const QPixmap &current, const QPixmap &target)
{
    m_current = current;
    m_target = target;
    update();
}

void TurnPicture::clear()
{
    m_spareCurrent = std::exchange(m_current, QPixmap());
    m_spareTarget = std::exchange(m_target, QPixmap());
}

std::pair<QPixmap, QPixmap> TurnPicture::takeBuffers()
{
    return { std::exchange(m_spareCurrent, QPixmap()), std::exchange(m_spareTarget, QPixmap()) };
}

void TurnPicture::setTurn(Dir dir, double progress)
{
    if (m_dir == dir && m_progress == progress)
        return;
    m_dir = dir;
    m_progress = progress;
    update();
}

const QImage &TurnPicture::shadowEdge(qreal ratio)
{
    // The shadow of a page edge is the same all the way down, so one row of
    // the program's soft shadow, taken once, is stretched along the edge.
    if (!m_edge.isNull() && m_edge.devicePixelRatio() == ratio)
        return m_edge;
    const double reach = SoftShadow::reach(TurnLayers::ShadowRadius);
    const double tall = 4 * reach;
    QImage block(
        QSize(int(std::ceil(2 * reach * ratio)), int(std::ceil(tall * ratio))), QImage::Format_ARGB32_Premultiplied);
    block.setDevicePixelRatio(ratio);
    block.fill(Qt::transparent);
    {
        QPainter painter(&block);
        QPainterPath page;
        // A page whose left edge is at `reach`, extending far to the right.
        page.addRect(QRectF(reach, -tall, 4 * reach, 3 * tall));
        SoftShadow::paint(painter, page, Qt::black, TurnLayers::ShadowRadius, QPointF());
    }
    m_edge = block.copy(0, block.height() / 2, block.width(), 1);
    m_edge.setDevicePixelRatio(ratio);
    return m_edge;
}

void TurnPicture::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    const double width = this->width();
    const double height = this->height();
    const TurnLayers layers = TurnLayers::compute(m_dir, m_progress, 0, width);
    const bool forward = m_dir == Dir::Forward;
    const QPixmap &bottom = forward ? m_current : m_target;
    const QPixmap &top = forward ? m_target : m_current;

    // Only what the top page leaves uncovered of the bottom one is drawn.
    // Edges fall on device pixels, so every blit is a plain copy.
    const qreal device = devicePixelRatioF();
    const auto snap = [device](double x) { return std::round(x * device) / device; };
    const double topX = snap(std::clamp(layers.top.offsetX, 0.0, width));
    const QRectF bottomShown(0, 0, topX, height);
    if (bottomShown.width() > 0) {
        if (bottom.isNull()) {
            painter.fillRect(bottomShown, themeColor(ThemeColor::Desk, m_appearance.scheme()));
        } else {
            const qreal ratio = bottom.devicePixelRatio();
            const double sourceX = snap(-layers.bottom.offsetX);
            painter.drawPixmap(
                bottomShown, bottom, QRectF(sourceX * ratio, 0, bottomShown.width() * ratio, bottom.height()));
        }
        if (layers.bottom.darkness > 0)
            painter.fillRect(bottomShown, QColor::fromRgbF(0, 0, 0, float(layers.bottom.darkness)));
        if (layers.top.shadow > 0 && topX > 0) {
            const QImage &edge = shadowEdge(device);
            const double reach = SoftShadow::reach(TurnLayers::ShadowRadius);
            painter.save();
            painter.setClipRect(bottomShown, Qt::IntersectClip);
            painter.setOpacity(layers.top.shadow);
            painter.drawImage(QRectF(topX - reach + TurnLayers::ShadowOffsetX, 0, 2 * reach, height), edge);
            painter.restore();
        }
    }
    const QRectF topShown(topX, 0, width - topX, height);
    if (topShown.width() > 0) {
        if (top.isNull()) {
            painter.fillRect(topShown, themeColor(ThemeColor::Desk, m_appearance.scheme()));
        } else {
            const qreal ratio = top.devicePixelRatio();
            painter.drawPixmap(topShown, top, QRectF(0, 0, topShown.width() * ratio, top.height()));
        }
    }
}

} // namespace quillery::ui
