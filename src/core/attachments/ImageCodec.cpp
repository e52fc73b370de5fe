#include "ImageCodec.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace quillery {

namespace {

// Qt's own allocation limit is process-wide; it is raised once to the decode
// budget, as a backstop for images whose frames are larger than they declare.
void installAllocationLimit()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const int megabytes = int(FullDecodeBudgetBytes / (1024 * 1024));
        if (QImageReader::allocationLimit() < megabytes)
            QImageReader::setAllocationLimit(megabytes);
    });
}

// What decoding a JPEG costs besides its output: baseline images stream row
// by row, but progressive (and other multi-scan) ones keep every DCT
// coefficient of the whole image in memory, up to 6 bytes a pixel, whatever
// scale they are decoded at.
bool jpegNeedsWholeImageBuffer(const QByteArray &data)
{
    const auto byte = [&](qsizetype i) { return quint8(data.at(i)); };
    qsizetype pos = 2;
    while (pos + 4 <= data.size()) {
        if (byte(pos) != 0xFF)
            return true; // not a marker where one belongs: assume the worst
        const quint8 marker = byte(pos + 1);
        if (marker == 0xFF) {
            ++pos; // fill byte
            continue;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return marker != 0xC0 && marker != 0xC1;
        if (marker == 0xDA || marker == 0xD9)
            return true;
        pos += 2 + ((qsizetype(byte(pos + 2)) << 8) | byte(pos + 3));
    }
    return true;
}

QSize boundedSize(const QSize &size, int maxPixel)
{
    if (std::max(size.width(), size.height()) <= maxPixel)
        return size;
    QSize scaled = size.scaled(maxPixel, maxPixel, Qt::KeepAspectRatio);
    return scaled.expandedTo(QSize(1, 1));
}

} // namespace

std::optional<QImage> decodeThumbnail(const QByteArray &data, int maxPixel)
{
    if (data.isEmpty() || maxPixel <= 0)
        return std::nullopt;
    installAllocationLimit();

    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly))
        return std::nullopt;
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return std::nullopt;

    // The declared size, in the orientation the pixels are stored in. An
    // image that does not declare one cannot be bounded, so it is not read.
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.isEmpty())
        return std::nullopt;
    if (declared.width() > MaxDeclaredSide || declared.height() > MaxDeclaredSide)
        return std::nullopt;
    const qint64 pixels = qint64(declared.width()) * declared.height();
    if (pixels > MaxDeclaredPixels)
        return std::nullopt;
    // Only JPEG decodes at a reduced scale (and vector images draw at the
    // size asked for); every other format is decoded whole, then shrunk.
    const QByteArray format = reader.format();
    qint64 wholeImageBytes = pixels * 4;
    if (format == "svg" || format == "svgz")
        wholeImageBytes = 0;
    else if (format == "jpeg")
        wholeImageBytes = jpegNeedsWholeImageBuffer(data) ? pixels * 6 : 0;
    if (wholeImageBytes > FullDecodeBudgetBytes)
        return std::nullopt;

    const QSize target = boundedSize(declared, maxPixel);
    if (target != declared)
        reader.setScaledSize(target);
    // Asks the JPEG decoder for its accurate transform and smooth final
    // scaling; it still decodes at the nearest reduced scale above `target`.
    reader.setQuality(100);

    QImage image;
    if (!reader.read(&image) || image.isNull())
        return std::nullopt;
    // A handler that ignored the requested size must not slip past the bound.
    if (std::max(image.width(), image.height()) > maxPixel)
        image = image.scaled(maxPixel, maxPixel, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

std::optional<QByteArray> reencodeJPEG(const QByteArray &data, int maxPixel, double quality)
{
    std::optional<QImage> image = decodeThumbnail(data, maxPixel);
    if (!image)
        return std::nullopt;
    if (image->hasAlphaChannel()) {
        QImage flat(image->size(), QImage::Format_RGB32);
        flat.setColorSpace(image->colorSpace());
        flat.fill(Qt::white);
        QPainter painter(&flat);
        painter.drawImage(0, 0, *image);
        painter.end();
        image = std::move(flat);
    }

    QByteArray out;
    QBuffer buffer(&out);
    if (!buffer.open(QIODevice::WriteOnly))
        return std::nullopt;
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(std::clamp(int(std::lround(quality * 100)), 0, 100));
    // Optimised Huffman tables: smaller records for the store and its mirror.
    writer.setOptimizedWrite(true);
    if (!writer.write(*image))
        return std::nullopt;
    buffer.close();
    if (out.isEmpty())
        return std::nullopt;
    return out;
}

} // namespace quillery
