#pragma once

#include <QByteArray>
#include <QFutureWatcher>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <atomic>
#include <memory>
#include <optional>

namespace quillery {
class ThumbnailCache;
}

namespace quillery::ui {

// Shows stored image bytes as a bitmap decoded away from the main thread,
// its longest side bounded to `maxPixel`. Until the bitmap is there, and
// when the bytes are absent or not a decodable image, it shows a faint
// placeholder. The image is decorative (no accessible name of its own).
//
// Decoding starts when the view is first shown and again whenever the bytes
// change; a change cancels the decode in flight, and a result that arrives
// for older bytes or for a view that is gone is dropped.
class ThumbView final : public QWidget
{
    Q_OBJECT
public:
    // Fill crops the bitmap to cover the whole view (tiles); Fit shows all of
    // it, centred (the viewer).
    enum class Scaling { Fill, Fit };

    ThumbView(std::shared_ptr<ThumbnailCache> cache, int maxPixel, QWidget *parent = nullptr);
    ~ThumbView() override;

    void setData(const std::optional<QByteArray> &data);
    const std::optional<QByteArray> &data() const { return m_data; }
    int maxPixel() const { return m_maxPixel; }

    void setScaling(Scaling scaling);
    void setCornerRadius(qreal radius);
    // Whether the placeholder is drawn where there is no bitmap.
    void setPlaceholderVisible(bool visible);

    // The decoded bitmap; null while there is none.
    const QImage &image() const { return m_image; }
    bool isDecoding() const { return m_decoding; }

Q_SIGNALS:
    // A decode finished (successfully or not) or the bytes were cleared.
    void imageChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void startDecode();
    void cancelDecode();
    void setImage(QImage image);
    const QPixmap &scaledPixmap(const QSize &deviceSize) const;

    std::shared_ptr<ThumbnailCache> m_cache;
    int m_maxPixel;
    Scaling m_scaling = Scaling::Fill;
    qreal m_radius = 0;
    bool m_placeholder = true;
    std::optional<QByteArray> m_data;
    QImage m_image;
    bool m_decoding = false;
    bool m_stale = true; // the bytes changed since the last decode started
    quint64 m_generation = 0;
    std::shared_ptr<std::atomic_bool> m_cancel;
    QFutureWatcher<QImage> *m_watcher = nullptr; // of the decode in flight
    mutable QPixmap m_scaled; // m_image at the last painted size
};

} // namespace quillery::ui
