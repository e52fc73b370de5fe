// Hostile pictures: a few bytes that would unpack to gigabytes, documents
// that reach outside themselves, and the same picture shown again and again.
#include "ImageBombs.h"
#include "TestImages.h"
#include "core/attachments/ImageCodec.h"
#include "core/attachments/ThumbnailCache.h"
#include "support/PeakMemory.h"

#include <QTemporaryDir>
#include <QtConcurrent/QtConcurrentRun>
#include <gtest/gtest.h>

#include <atomic>

using namespace quillery;
using namespace quillery::test;

namespace {

const QByteArray RedSquare
    = R"(<svg xmlns="http://www.w3.org/2000/svg" width="60" height="30">)"
      R"(<rect width="30" height="30" fill="red"/><rect x="30" width="30" height="30" fill="blue"/>)"
      R"(</svg>)";

TEST(ImageBombTest, TinyFilesThatUnpackToHugePicturesAreRefusedCheaply)
{
    const struct {
        const char *what;
        QByteArray bytes;
    } bombs[] = {
        { "a megabyte of SVGZ holding a gigabyte of text", svgzBomb() },
        { "the same, named and typed as a photo would be", svgzBomb(256 * 1024) },
        { "an 8000 x 8000 TIFF of one repeated row", tiffBomb() },
        { "an 8000 x 8000 run-length BMP of a kilobyte", rleBmpBomb() },
        { "a GIF with an 8000 x 8000 screen", gifBomb() },
    };
    for (const auto &bomb : bombs) {
        SCOPED_TRACE(bomb.what);
        ASSERT_LT(bomb.bytes.size(), 1100 * 1024);
        const PeakMemory memory;
        EXPECT_FALSE(decodeThumbnail(bomb.bytes, TileMaxPixel));
        EXPECT_FALSE(decodeThumbnail(bomb.bytes, ViewerMaxPixel));
        EXPECT_LT(memory.growthBytes(), 48 * 1024 * 1024);
    }
}

TEST(ImageBombTest, SoundVectorPicturesAreDrawnAtTheSizeAsked)
{
    const QByteArray compressed = bombs::gzipMember(RedSquare);
    for (const QByteArray &bytes :
        { RedSquare, compressed, "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- drawn by hand -->\n" + RedSquare }) {
        SCOPED_TRACE(bytes.left(12).toStdString());
        const std::optional<QImage> tile = decodeThumbnail(bytes, 20);
        ASSERT_TRUE(tile);
        EXPECT_EQ(tile->size(), QSize(20, 10));
        EXPECT_EQ(QColor(tile->pixel(4, 5)), QColor(Qt::red));
        EXPECT_EQ(QColor(tile->pixel(15, 5)), QColor(Qt::blue));
    }
}

TEST(ImageBombTest, DocumentsThatReachOutsideThemselvesOrHideAnotherLayerAreRefused)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("red.png"));
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(picture));
    const auto withImage = [](const QByteArray &href) {
        return R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="8" height="8">)"
               R"(<image width="8" height="8" xlink:href=")"
            + href + R"("/></svg>)";
    };
    // An embedded picture within the budget is drawn.
    EXPECT_TRUE(decodeThumbnail(withImage("data:image/png;base64," + encoded(red, "png").toBase64()), 8));

    const struct {
        const char *what;
        QByteArray bytes;
    } refused[] = {
        { "a file on this computer", withImage(QFile::encodeName(picture)) },
        { "a file by URL", withImage("file://" + QFile::encodeName(picture)) },
        { "an embedded bomb", withImage("data:image/gif;base64," + gifBomb().toBase64()) },
        { "gzip inside gzip", bombs::gzipMember(bombs::gzipMember(RedSquare)) },
        { "more elements than can be drawn",
            "<svg xmlns=\"http://www.w3.org/2000/svg\">" + QByteArray("<g/>").repeated(60'000) + "</svg>" },
        { "cut short", bombs::gzipMember(RedSquare).chopped(6) },
    };
    for (const auto &bad : refused)
        EXPECT_FALSE(decodeThumbnail(bad.bytes, TileMaxPixel)) << bad.what;
}

TEST(ImageBombTest, EachPictureIsDecodedOncePerSizeForEveryViewThatShowsIt)
{
    std::atomic_int decodes = 0;
    ThumbnailCache cache(16 * 1024 * 1024, [&](const QByteArray &data, int maxPixel) {
        ++decodes;
        return decodeThumbnail(data, maxPixel);
    });
    const QByteArray photo = jpeg(QSize(1200, 800));
    // Eight views asking at the same moment wait for one decode.
    QList<QFuture<std::optional<QImage>>> views;
    for (int i = 0; i < 8; ++i)
        views.append(QtConcurrent::run([&] { return cache.thumbnail(photo, TileMaxPixel); }));
    for (QFuture<std::optional<QImage>> &view : views) {
        const std::optional<QImage> image = view.result();
        ASSERT_TRUE(image);
        EXPECT_EQ(image->size(), QSize(240, 160));
    }
    EXPECT_EQ(decodes, 1);

    ASSERT_TRUE(cache.thumbnail(QByteArray(photo), TileMaxPixel)); // the same bytes, another copy
    ASSERT_TRUE(cache.thumbnail(photo, ViewerMaxPixel));
    EXPECT_EQ(decodes, 2);
    // A refusal is remembered too: a bomb costs its check once.
    EXPECT_FALSE(cache.thumbnail(gifBomb(), TileMaxPixel));
    EXPECT_FALSE(cache.thumbnail(gifBomb(), TileMaxPixel));
    EXPECT_EQ(decodes, 3);
}

} // namespace
