// Hostile pictures: a few bytes that would unpack to gigabytes, documents
// that reach outside themselves, and the same picture shown again and again.
#include "ImageBombs.h"
#include "TestImages.h"
#include "gui/attachments/ImageCodec.h"
#include "gui/attachments/ThumbnailCache.h"
#include "support/PeakMemory.h"

#include <QTemporaryDir>
#include <QtConcurrent/QtConcurrentRun>
#include <gtest/gtest.h>

#include <atomic>

using namespace quillery;
using namespace quillery::test;

namespace {

TEST(ImageBombTest, TinyFilesThatUnpackToHugePicturesAreRefusedCheaply)
{
    for (const QByteArray &bomb : { svgzBomb(), tiffBomb(), rleBmpBomb(), QByteArray(gifBomb()) }) {
        SCOPED_TRACE(bomb.left(4).toHex().toStdString());
        const PeakMemory memory;
        EXPECT_FALSE(decodeThumbnail(bomb, TileMaxPixel));
        EXPECT_FALSE(decodeThumbnail(bomb, ViewerMaxPixel));
        EXPECT_LT(memory.growthBytes(), 48 * 1024 * 1024);
    }
}

TEST(ImageBombTest, VectorPicturesAreDrawnAtTheSizeAskedUnlessTheyReachOutsideThemselves)
{
    const QByteArray halves
        = R"(<svg xmlns="http://www.w3.org/2000/svg" width="60" height="30">)"
          R"(<rect width="30" height="30" fill="red"/><rect x="30" width="30" height="30" fill="blue"/>)"
          R"(</svg>)";
    for (const QByteArray &sound :
        { halves, gzipped(halves), "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- -->" + halves }) {
        const std::optional<QImage> tile = decodeThumbnail(sound, 20);
        ASSERT_TRUE(tile) << sound.left(12).toStdString();
        EXPECT_EQ(tile->size(), QSize(20, 10));
        EXPECT_EQ(QColor(tile->pixel(4, 5)), QColor(Qt::red));
        EXPECT_EQ(QColor(tile->pixel(15, 5)), QColor(Qt::blue));
    }

    QTemporaryDir dir;
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString picture = dir.filePath(QStringLiteral("red.png"));
    ASSERT_TRUE(red.save(picture));
    const auto withImage = [](const QByteArray &href) {
        return R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="8" height="8">)"
               R"(<image width="8" height="8" xlink:href=")"
            + href + R"("/></svg>)";
    };
    EXPECT_TRUE(decodeThumbnail(withImage("data:image/png;base64," + encoded(red, "png").toBase64()), 8));
    for (const QByteArray &refused : {
             withImage(QFile::encodeName(picture)), // the library would open any file, and wait on a FIFO
             withImage("file://" + QFile::encodeName(picture)),
             withImage("data:image/gif;base64," + gifBomb().toBase64()),
             gzipped(gzipped(halves)), // the library would inflate the inner layer without a cap
             gzipped(halves).chopped(6),
             "<svg xmlns=\"http://www.w3.org/2000/svg\">" + QByteArray("<g/>").repeated(60'000) + "</svg>",
         })
        EXPECT_FALSE(decodeThumbnail(refused, TileMaxPixel)) << refused.left(200).toStdString();
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
    for (QFuture<std::optional<QImage>> &view : views)
        EXPECT_EQ(view.result().value_or(QImage()).size(), QSize(240, 160));
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
