// Bounded decoding and JPEG re-encoding of attachment images, including
// bytes that are damaged, hostile or not images at all.
#include "gui/attachments/ImageCodec.h"
#include "TestImages.h"

#include <gtest/gtest.h>

using namespace quillery;
using namespace quillery::test;

namespace {

bool reddish(QRgb pixel)
{
    return qRed(pixel) > 180 && qBlue(pixel) < 80;
}

bool bluish(QRgb pixel)
{
    return qBlue(pixel) > 180 && qRed(pixel) < 80;
}

TEST(ImageCodecTest, ThumbnailsAreBoundedOnTheLongestSideAndKeepTheirShape)
{
    const QByteArray wide = jpeg(QSize(6000, 4000));
    std::optional<QImage> tile = decodeThumbnail(wide, TileMaxPixel);
    ASSERT_TRUE(tile);
    EXPECT_EQ(tile->size(), QSize(240, 160));
    // The content survives the reduced-scale decode: red left, blue right.
    EXPECT_TRUE(reddish(tile->pixel(30, 80)));
    EXPECT_TRUE(bluish(tile->pixel(210, 80)));

    const QByteArray tall = encoded(halves(QSize(300, 900)), "png");
    tile = decodeThumbnail(tall, TileMaxPixel);
    ASSERT_TRUE(tile);
    EXPECT_EQ(tile->size(), QSize(80, 240));

    // Smaller images are never enlarged.
    tile = decodeThumbnail(jpeg(QSize(100, 60)), TileMaxPixel);
    ASSERT_TRUE(tile);
    EXPECT_EQ(tile->size(), QSize(100, 60));
}

TEST(ImageCodecTest, TransparentAreasBecomeWhiteInTheJpeg)
{
    QImage clear(64, 64, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    const std::optional<QByteArray> stored = reencodeJPEG(encoded(clear, "png"), PhotoMaxPixel, PhotoQuality);
    ASSERT_TRUE(stored);
    const QRgb pixel = decodeAsStored(*stored).image.pixel(32, 32);
    EXPECT_GT(qGray(pixel), 240);
}

TEST(ImageCodecTest, CameraOrientationIsAppliedAndStoredUpright)
{
    // Stored sideways: red on the left of 400 × 200. Turned clockwise for
    // display, red is on top of 200 × 400.
    const QByteArray camera = withOrientation(jpeg(QSize(400, 200)), 6);
    ASSERT_EQ(decodeAsStored(camera).image.size(), QSize(400, 200));

    const std::optional<QImage> shown = decodeThumbnail(camera, ViewerMaxPixel);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->size(), QSize(200, 400));
    EXPECT_TRUE(reddish(shown->pixel(100, 50)));
    EXPECT_TRUE(bluish(shown->pixel(100, 350)));

    // The stored JPEG carries no orientation any more: it is upright as is.
    const std::optional<QByteArray> stored = reencodeJPEG(camera, PhotoMaxPixel, PhotoQuality);
    ASSERT_TRUE(stored);
    const Decoded upright = decodeAsStored(*stored);
    EXPECT_EQ(upright.image.size(), QSize(200, 400));
    EXPECT_TRUE(reddish(upright.image.pixel(100, 50)));
    EXPECT_TRUE(bluish(upright.image.pixel(100, 350)));

    // The bound applies to the turned picture too.
    const std::optional<QImage> big = decodeThumbnail(withOrientation(jpeg(QSize(4000, 3000)), 6), PhotoMaxPixel);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->size(), QSize(1800, 2400));
}

TEST(ImageCodecTest, BytesThatAreNotASafeImageGiveNothing)
{
    const QByteArray photo = jpeg(QSize(640, 480));
    const QByteArray png = encoded(halves(QSize(640, 480)), "png");
    const struct {
        const char *what;
        QByteArray bytes;
    } cases[] = {
        { "zero bytes", QByteArray() },
        { "text", QByteArray("just some notes, not a picture") },
        { "JPEG cut inside its header", photo.left(300) },
        { "PNG cut in half", png.left(png.size() / 2) },
        { "PNG declaring 2^31 - 1 square", pngDeclaring(0x7FFFFFFF, 0x7FFFFFFF) },
        { "PNG declaring 10000 x 10000 (over the full-decode budget)", pngDeclaring(10000, 10000) },
        { "JPEG declaring 65000 x 65000", jpegDeclaring(65000, 65000) },
        { "progressive JPEG declaring 20000 x 10000", jpegDeclaring(20000, 10000, true) },
        { "PNG declaring a zero width", pngDeclaring(0, 100) },
    };
    for (const auto &bad : cases) {
        EXPECT_FALSE(decodeThumbnail(bad.bytes, TileMaxPixel)) << bad.what;
        EXPECT_FALSE(reencodeJPEG(bad.bytes, PhotoMaxPixel, PhotoQuality)) << bad.what;
    }
}

} // namespace
