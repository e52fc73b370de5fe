#include "ImageCodec.h"

#include "SvgDocument.h"
#include "core/attachments/ImageFormat.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSemaphore>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace quillery {

namespace {

constexpr qint64 MiB = 1024 * 1024;

// Qt's own allocation limit is process-wide; it is raised once to the decode
// budget, as a backstop for images whose frames are larger than they declare.
void installAllocationLimit()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const int megabytes = int(DecodeBudgetBytes / MiB);
        if (QImageReader::allocationLimit() < megabytes)
            QImageReader::setAllocationLimit(megabytes);
    });
}

// Memory taken by the decodes running now, reserved before each starts and
// given back when it ends; a decode waits while the rest of the budget is
// taken.
class DecodeReservation final
{
public:
    explicit DecodeReservation(qint64 bytes)
        : m_megabytes(int(std::clamp<qint64>((bytes + MiB - 1) / MiB, 1, DecodeBudgetBytes / MiB)))
    {
        budget().acquire(m_megabytes);
    }
    ~DecodeReservation() { budget().release(m_megabytes); }
    DecodeReservation(const DecodeReservation &) = delete;
    DecodeReservation &operator=(const DecodeReservation &) = delete;

private:
    static QSemaphore &budget()
    {
        static QSemaphore megabytes(int(DecodeBudgetBytes / MiB));
        return megabytes;
    }

    int m_megabytes;
};

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

bool isBelievable(const QSize &declared)
{
    return declared.isValid() && !declared.isEmpty() && declared.width() <= MaxDeclaredSide
        && declared.height() <= MaxDeclaredSide && qint64(declared.width()) * declared.height() <= MaxDeclaredPixels;
}

qint64 area(const QSize &size)
{
    return qint64(size.width()) * size.height();
}

// The most memory decoding `format` of `declared` size to `target` takes.
// Every reader but JPEG's may decode the whole picture first (PNG does when
// interlaced): 4 bytes a pixel (palette pictures are widened to that for
// smooth scaling), plus the reader's own buffers; measured with each reader
// at under 5 bytes a pixel at its peak (see BENCHMARKS.md). JPEG decodes at
// 1/8, 2/8 … 8/8 of its size, the smallest of those that still covers the
// target.
qint64 rasterPeakBytes(const QByteArray &format, const QByteArray &data, const QSize &declared, const QSize &target)
{
    const qint64 pixels = area(declared);
    const qint64 scaledCopy = area(target) * 4;
    if (format != "jpeg")
        return pixels * 5 + scaledCopy;
    const qint64 decoded = std::min(pixels, std::max(pixels / 64, area(target) * 4)) * 4;
    const qint64 coefficients = jpegNeedsWholeImageBuffer(data) ? pixels * 6 : 0;
    return coefficients + decoded + scaledCopy;
}

// A reader of `data` in exactly `format`: never another reader that happens
// to claim the bytes.
struct Reader {
    explicit Reader(const QByteArray &data, const QByteArray &format)
        : reader(&buffer, format)
    {
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        reader.setAutoDetectImageFormat(false);
        reader.setAutoTransform(true);
    }
    QBuffer buffer;
    QImageReader reader;
};

std::optional<QImage> read(QImageReader &reader, const QSize &declared, int maxPixel)
{
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

// The size the reader will decode, in the orientation the pixels are stored
// in. A GIF reader reports the size of the first frame but paints every frame
// on a canvas the size of the logical screen, which the header states.
QSize declaredSize(QImageReader &reader, const QByteArray &data, const QByteArray &format)
{
    const QSize size = reader.size();
    if (format != "gif" || data.size() < 10)
        return size;
    const QSize screen(
        qFromLittleEndian<quint16>(data.constData() + 6), qFromLittleEndian<quint16>(data.constData() + 8));
    return size.expandedTo(screen);
}

std::optional<QImage> decodeRaster(const QByteArray &data, const QByteArray &format, int maxPixel)
{
    Reader source(data, format);
    if (!source.reader.canRead())
        return std::nullopt;
    // An image that does not declare its size cannot be bounded, so it is
    // not read.
    const QSize declared = declaredSize(source.reader, data, format);
    if (!isBelievable(declared))
        return std::nullopt;
    const qint64 peak = rasterPeakBytes(format, data, declared, boundedSize(declared, maxPixel));
    if (peak > DecodeBudgetBytes)
        return std::nullopt;
    DecodeReservation reserved(peak);
    return read(source.reader, declared, maxPixel);
}

std::optional<QImage> drawVector(const QByteArray &data, const QByteArray &format, int maxPixel)
{
    const std::optional<SvgDocument::Checked> document = SvgDocument::toDraw(data, format);
    if (!document)
        return std::nullopt;
    // The library's model of a document takes some sixteen times its text;
    // the picture is drawn once at the target size and may be turned.
    const qint64 peak = document->text.size() * 16 + document->embeddedBytes + qint64(maxPixel) * maxPixel * 8;
    if (peak > DecodeBudgetBytes)
        return std::nullopt;
    DecodeReservation reserved(peak);
    Reader source(document->text, "svg");
    const QSize declared = source.reader.size();
    if (!declared.isValid() || declared.isEmpty())
        return std::nullopt;
    return read(source.reader, declared, maxPixel);
}

} // namespace

std::optional<qint64> rasterDecodeCost(const QByteArray &data)
{
    const QByteArray format = imageFormatOf(data);
    if (format.isEmpty() || isVectorFormat(format))
        return std::nullopt;
    Reader source(data, format);
    if (!source.reader.canRead())
        return std::nullopt;
    const QSize declared = declaredSize(source.reader, data, format);
    if (!isBelievable(declared))
        return std::nullopt;
    return rasterPeakBytes(format, data, declared, declared);
}

std::optional<QImage> decodeThumbnail(const QByteArray &data, int maxPixel)
{
    if (data.isEmpty() || maxPixel <= 0)
        return std::nullopt;
    installAllocationLimit();
    const QByteArray format = imageFormatOf(data);
    if (format.isEmpty())
        return std::nullopt;
    if (isVectorFormat(format))
        return drawVector(data, format, maxPixel);
    return decodeRaster(data, format, maxPixel);
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
