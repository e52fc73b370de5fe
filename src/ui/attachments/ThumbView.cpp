#include "ThumbView.h"

#include "gui/attachments/ThumbnailCache.h"

#include <QFutureWatcher>
#include <QPainter>
#include <QPainterPath>
#include <QtConcurrent/QtConcurrentRun>

namespace quillery::ui {

ThumbView::ThumbView(std::shared_ptr<ThumbnailCache> cache, int maxPixel, QWidget *parent)
    : QWidget(parent)
    , m_cache(std::move(cache))
    , m_maxPixel(maxPixel)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

ThumbView::~ThumbView()
{
    cancelDecode();
}

void ThumbView::setData(const std::optional<QByteArray> &data)
{
    if (data == m_data && !m_stale)
        return;
    m_data = data;
    m_stale = true;
    if (isVisible())
        startDecode();
}

void ThumbView::setScaling(Scaling scaling)
{
    if (scaling == m_scaling)
        return;
    m_scaling = scaling;
    m_scaled = QPixmap();
    update();
}

void ThumbView::setCornerRadius(qreal radius)
{
    m_radius = radius;
    update();
}

void ThumbView::setPlaceholderVisible(bool visible)
{
    m_placeholder = visible;
    update();
}

void ThumbView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_stale)
        startDecode();
}

void ThumbView::cancelDecode()
{
    if (m_cancel)
        m_cancel->store(true);
    m_cancel.reset();
    if (m_watcher) {
        m_watcher->disconnect(this);
        m_watcher->deleteLater();
        m_watcher = nullptr;
    }
    m_decoding = false;
}

void ThumbView::startDecode()
{
    cancelDecode();
    m_stale = false;
    const quint64 generation = ++m_generation;
    if (!m_data) {
        setImage(QImage());
        return;
    }

    auto cancel = std::make_shared<std::atomic_bool>(false);
    m_cancel = cancel;
    m_decoding = true;
    const QByteArray bytes = *m_data;
    const int maxPixel = m_maxPixel;
    // The watcher belongs to this view: when the view goes, so does any
    // way for the result to reach it.
    m_watcher = new QFutureWatcher<QImage>(this);
    QFutureWatcher<QImage> *watcher = m_watcher;
    connect(watcher, &QFutureWatcher<QImage>::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        if (watcher == m_watcher)
            m_watcher = nullptr;
        if (generation != m_generation)
            return;
        m_decoding = false;
        m_cancel.reset();
        setImage(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run([cache = m_cache, bytes, maxPixel, cancel]() -> QImage {
        // Decodes queued behind others are often stale by the time a
        // thread is free: a quickly scrolled strip, a closed card.
        if (cancel->load())
            return {};
        // Decoded once per picture and size for every view that shows it.
        std::optional<QImage> image = cache->thumbnail(bytes, maxPixel);
        if (!image || cancel->load())
            return {};
        return image->convertToFormat(
            image->hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    }));
}

void ThumbView::setImage(QImage image)
{
    m_image = std::move(image);
    m_scaled = QPixmap();
    update();
    Q_EMIT imageChanged();
}

const QPixmap &ThumbView::scaledPixmap(const QSize &deviceSize) const
{
    if (m_scaled.isNull() || m_scaled.size() != deviceSize) {
        const Qt::AspectRatioMode mode
            = m_scaling == Scaling::Fill ? Qt::KeepAspectRatioByExpanding : Qt::KeepAspectRatio;
        m_scaled = QPixmap::fromImage(m_image.scaled(deviceSize, mode, Qt::SmoothTransformation));
    }
    return m_scaled;
}

void ThumbView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    QPainterPath clip;
    clip.addRoundedRect(bounds, m_radius, m_radius);

    if (m_image.isNull()) {
        if (m_placeholder) {
            // A faint fill of the text colour, like the desktop's quietest
            // fill style.
            QColor fill = palette().color(QPalette::WindowText);
            fill.setAlphaF(0.08);
            painter.fillPath(clip, fill);
        }
        return;
    }

    painter.setClipPath(clip);
    const qreal ratio = devicePixelRatioF();
    const QSize target = (QSizeF(m_image.size())
                              .scaled(bounds.size(),
                                  m_scaling == Scaling::Fill ? Qt::KeepAspectRatioByExpanding : Qt::KeepAspectRatio)
        * ratio)
                             .toSize()
                             .expandedTo(QSize(1, 1));
    const QPixmap &pixmap = scaledPixmap(target);
    const QSizeF drawn = QSizeF(pixmap.size()) / ratio;
    const QPointF topLeft(bounds.center().x() - drawn.width() / 2, bounds.center().y() - drawn.height() / 2);
    painter.drawPixmap(QRectF(topLeft, drawn), pixmap, QRectF(pixmap.rect()));
}

} // namespace quillery::ui
