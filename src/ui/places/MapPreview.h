#pragma once

#include "core/model/Place.h"
#include "core/places/MapTile.h"
#include "core/places/MapViewport.h"
#include "gui/places/MapTileSource.h"

#include <QHash>
#include <QImage>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <optional>

namespace quillery::ui {

// A small still map of a place for the task card: a 700 m × 700 m region
// centred on it, with a red marker titled with the place's name, in a
// rounded frame 130 points high. It cannot be panned or zoomed; a click
// (or Return or Space when it has focus) opens the place's maps link in the
// desktop's browser, and does nothing when no link can be formed.
//
// Tiles come from the shared MapTileSource. Until they arrive, and whenever
// they cannot (offline, or no tile server), the preview shows a tidy
// placeholder: plain map-coloured ground, the marker and the coordinates.
class MapPreview final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int PreviewHeight = 130;
    static constexpr qreal CornerRadius = 12;
    static constexpr double SpanMeters = 700;

    // `tiles` may be null: the placeholder only.
    explicit MapPreview(MapTileSource *tiles, QWidget *parent = nullptr);

    void setPlace(const std::optional<Place> &place);
    const std::optional<Place> &place() const { return m_place; }

    // The link a click opens, none when none can be formed.
    std::optional<QUrl> mapsLink() const;
    // Opens the link in the desktop's browser; false when there is none.
    bool openMapsLink();

    // Whether map tiles are drawn (otherwise the placeholder is).
    bool showsTiles() const;

    QSize sizeHint() const override { return { 392, PreviewHeight }; }
    QSize minimumSizeHint() const override { return { 120, PreviewHeight }; }

Q_SIGNALS:
    void mapsLinkOpened(const QUrl &url);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void refreshTiles();
    void takeTile(const MapTile &tile, const QImage &image);
    void drawMarker(QPainter &painter, const QPointF &tip) const;
    void drawCaption(QPainter &painter, const QRectF &area, const QString &text, Qt::Alignment alignment,
        const QFont &font, const QColor &color) const;
    QString coordinateText() const;

    QPointer<MapTileSource> m_tiles;
    std::optional<Place> m_place;
    std::optional<MapViewport> m_viewport;
    QList<MapViewport::Placement> m_placements;
    QHash<MapTile, QImage> m_images;
    bool m_pressed = false;
    bool m_keyboardFocus = false; // the focus ring shows only then
};

} // namespace quillery::ui
