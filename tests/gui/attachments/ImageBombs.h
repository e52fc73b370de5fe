#pragma once

// Tiny files that decode to enormous pictures, made byte by byte: what a
// hostile attachment sends to exhaust memory. Sides default to 8000 pixels.

#include <QByteArray>

#include <initializer_list>
#include <zlib.h>

namespace quillery::test {

// Little-endian 16- and 32-bit fields, in order.
inline QByteArray le16(std::initializer_list<quint16> values)
{
    QByteArray out;
    for (const quint16 value : values)
        out += char(value & 0xFF), out += char(value >> 8);
    return out;
}

inline QByteArray le32(std::initializer_list<quint32> values)
{
    QByteArray out;
    for (const quint32 value : values)
        out += le16({ quint16(value & 0xFFFF), quint16(value >> 16) });
    return out;
}

inline QByteArray gzipped(const QByteArray &text)
{
    z_stream stream {};
    deflateInit2(&stream, 9, Z_DEFLATED, 16 + MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&stream, uLong(text.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(text.data()));
    stream.avail_in = uInt(text.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

// About `compressedBytes` of SVGZ, gzip members of a megabyte of blanks
// each, inflating to a document a thousand times larger.
inline QByteArray svgzBomb(qsizetype compressedBytes = 1024 * 1024)
{
    QByteArray out = gzipped(R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100">)");
    const QByteArray blanks = gzipped(QByteArray(1024 * 1024, ' '));
    while (out.size() + blanks.size() < compressedBytes)
        out += blanks;
    return out + gzipped("</svg>");
}

// An RGB TIFF whose strips, one a row, all point at one PackBits run of black.
inline QByteArray tiffBomb(quint32 side = 8000)
{
    QByteArray row;
    for (quint32 left = side * 3; left > 0; left -= std::min<quint32>(left, 128))
        row += char(1 - int(std::min<quint32>(left, 128))), row += '\0';
    const quint32 bits = 8 + 2 + 9 * 12 + 4, offsets = bits + 6, counts = offsets + side * 4, data = counts + side * 4;
    const auto entry = [](quint16 tag, quint16 type, quint32 count, quint32 value) {
        return le16({ tag, type }) + le32({ count, value });
    };
    return QByteArray("II*\0", 4) + le32({ 8 }) + le16({ 9 }) + entry(256, 4, 1, side) + entry(257, 4, 1, side)
        + entry(258, 3, 3, bits) + entry(259, 3, 1, 32773) + entry(262, 3, 1, 2) + entry(273, 4, side, offsets)
        + entry(277, 3, 1, 3) + entry(278, 4, 1, 1) + entry(279, 4, side, counts) + le32({ 0 }) + le16({ 8, 8, 8 })
        + le32({ data }).repeated(side) + le32({ quint32(row.size()) }).repeated(side) + row;
}

// An 8-bit run-length BMP whose pixel data is only the end-of-bitmap mark.
inline QByteArray rleBmpBomb(quint32 side = 8000)
{
    const quint32 headers = 14 + 40 + 256 * 4;
    return "BM" + le32({ headers + 2, 0, headers, 40, side, side }) + le16({ 1, 8 })
        + le32({ 1, 2, 2835, 2835, 256, 0 }) + QByteArray(256 * 4, '\x40') + QByteArray("\0\x01", 2);
}

// A GIF with one 1 × 1 frame on a `side` × `side` screen, the canvas its
// reader paints on.
inline QByteArray gifBomb(quint16 side = 8000)
{
    return "GIF89a" + le16({ side, side }) + QByteArray("\x80\0\0\0\0\0\xff\xff\xff,", 10) + le16({ 0, 0, 1, 1 })
        + QByteArray("\0\x02\x02\x44\x01\0;", 7);
}

} // namespace quillery::test
