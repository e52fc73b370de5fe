#pragma once

// Images made on the spot for the attachment tests: encoded photos, a camera
// orientation tag, and headers that lie about their size.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

#include <zlib.h>

namespace quillery::test {

// Left half red, right half blue: enough to tell orientation and content.
inline QImage halves(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, size.width() / 2, size.height()), Qt::red);
    return image;
}

inline QByteArray encoded(const QImage &image, const char *format, int quality = 90)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

inline QByteArray jpeg(QSize size, int quality = 90)
{
    return encoded(halves(size), "jpeg", quality);
}

// The format and picture of encoded bytes, read as stored (no orientation).
struct Decoded {
    QByteArray format;
    QImage image;
};

inline Decoded decodeAsStored(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(false);
    Decoded decoded;
    decoded.format = reader.format();
    decoded.image = reader.read();
    return decoded;
}

// The JPEG with an EXIF block stating `orientation` (6: turn 90° clockwise
// to show), inserted right after the start-of-image marker.
inline QByteArray withOrientation(const QByteArray &jpegBytes, quint16 orientation)
{
    // A big-endian TIFF whose first IFD holds one entry, Orientation (0x0112)
    // as one SHORT, then the value, its padding and no next IFD.
    QByteArray exif = QByteArray("Exif\0\0MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01", 24) + QByteArray(8, '\0');
    qToBigEndian(orientation, exif.data() + 24);
    QByteArray segment("\xFF\xE1\0\0", 4);
    qToBigEndian(quint16(exif.size() + 2), segment.data() + 2);
    return jpegBytes.left(2) + segment + exif + jpegBytes.mid(2);
}

inline QByteArray pngChunk(const char *type, const QByteArray &payload)
{
    QByteArray chunk(4, '\0');
    qToBigEndian(quint32(payload.size()), chunk.data());
    const QByteArray body = QByteArray(type, 4) + payload;
    QByteArray crc(4, '\0');
    qToBigEndian(quint32(::crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()))), crc.data());
    return chunk + body + crc;
}

// A well-formed PNG header claiming `width` × `height` RGBA pixels, followed
// by a few bytes of image data: a decompression bomb's opening.
inline QByteArray pngDeclaring(quint32 width, quint32 height)
{
    QByteArray header(13, '\0');
    qToBigEndian(width, header.data());
    qToBigEndian(height, header.data() + 4);
    header[8] = 8; // bit depth
    header[9] = 6; // RGBA
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header)
        + pngChunk("IDAT", QByteArray::fromHex("789c636000000000010001")) + pngChunk("IEND", {});
}

// A small JPEG whose frame header claims `width` × `height`.
inline QByteArray jpegDeclaring(quint16 width, quint16 height, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    writer.write(halves(QSize(16, 16)));
    buffer.close();
    const qsizetype frame = bytes.indexOf(QByteArray(progressive ? "\xFF\xC2" : "\xFF\xC0", 2));
    if (frame < 0)
        return {};
    qToBigEndian(height, bytes.data() + frame + 5);
    qToBigEndian(width, bytes.data() + frame + 7);
    return bytes;
}

} // namespace quillery::test
