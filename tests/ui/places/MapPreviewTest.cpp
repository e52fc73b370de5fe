#include "ui/places/MapPreview.h"
#include "gui/places/MapTileSource.h"
#include "support/UrlRecorder.h"

#include <QDesktopServices>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <limits>

using namespace quillery;
using namespace quillery::ui;

namespace {

// Tiles of one colour, or none at all (offline).
class FakeTileSource final : public MapTileSource
{
public:
    std::optional<QColor> colour;
    QList<MapTile> asked;

    int maxZoom() const override { return 19; }
    void requestTile(const MapTile &tile) override
    {
        asked.append(tile);
        QMetaObject::invokeMethod(
            this,
            [this, tile] {
                if (!colour) {
                    Q_EMIT tileFailed(tile);
                    return;
                }
                QImage image(256, 256, QImage::Format_RGB32);
                image.fill(*colour);
                Q_EMIT tileReady(tile, image);
            },
            Qt::QueuedConnection);
    }
};

const Place Berlin { QStringLiteral("Brandenburger Tor"), QStringLiteral("Pariser Platz, Berlin"), 52.5163, 13.3777 };

struct Shown {
    FakeTileSource tiles;
    MapPreview preview { &tiles };

    explicit Shown(std::optional<QColor> colour)
    {
        tiles.colour = colour;
        preview.resize(392, 130);
        preview.setPlace(Berlin);
        preview.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&preview));
        // The tiles, or their failure, arrive through the event loop.
        EXPECT_TRUE(QTest::qWaitFor([&] { return preview.showsTiles() == colour.has_value(); }));
        QCoreApplication::processEvents();
    }

    QColor pixel(int x, int y) { return preview.grab().toImage().pixelColor(x, y); }
};

bool isRed(const QColor &c)
{
    return c.red() > 180 && c.green() < 90 && c.blue() < 90;
}

} // namespace

// Without tiles the preview is drawn in the task card's golden images.
TEST(MapPreview, drawsTheTilesCentredOnThePlaceWithItsMarker)
{
    Shown s { QColor(Qt::blue) };
    EXPECT_EQ(s.pixel(60, 30), QColor(Qt::blue));
    // The marker's balloon stands just above the centre.
    EXPECT_TRUE(isRed(s.pixel(196 + 8, 65 - 22))) << s.pixel(204, 43).name().toStdString();
    // The rounded corner shows nothing of the map.
    EXPECT_NE(s.pixel(0, 0), QColor(Qt::blue));
}

TEST(MapPreview, aClickOpensTheMapsLinkInTheBrowser)
{
    quillery::test::UrlRecorder browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    Shown s(std::nullopt);
    QSignalSpy opened(&s.preview, &MapPreview::mapsLinkOpened);
    QTest::mouseClick(&s.preview, Qt::LeftButton, {}, QPoint(40, 40));
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(browser.opened.first(), *Berlin.mapsURL());
    EXPECT_EQ(opened.size(), 1);

    // Dragging off the map before letting go is not a click.
    QTest::mousePress(&s.preview, Qt::LeftButton, {}, QPoint(40, 40));
    QTest::mouseRelease(&s.preview, Qt::LeftButton, {}, QPoint(40, 400));
    EXPECT_EQ(browser.opened.size(), 1);

    // No link can be formed: nothing happens.
    Place nowhere = Berlin;
    nowhere.latitude = std::numeric_limits<double>::quiet_NaN();
    s.preview.setPlace(nowhere);
    QTest::mouseClick(&s.preview, Qt::LeftButton, {}, QPoint(40, 40));
    s.preview.setPlace(std::nullopt);
    QTest::mouseClick(&s.preview, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(browser.opened.size(), 1);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}
