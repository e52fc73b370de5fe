#pragma once

// Tiny files that decode to enormous pictures, made byte by byte: what a
// hostile attachment (or tile server) sends to exhaust memory.

#include <QByteArray>
#include <QtEndian>

#include <zlib.h>

namespace quillery::test {

namespace bombs {

inline void put16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

inline void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

inline QByteArray gzipMember(const QByteArray &text)
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

} // namespace bombs

// About `compressedBytes` of gzip (one member per megabyte of blanks) that
// inflate to an SVG document a thousand times larger.
inline QByteArray svgzBomb(qsizetype compressedBytes = 1024 * 1024)
{
    QByteArray out = bombs::gzipMember(
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100"><rect width="50" height="50"/>)");
    const QByteArray blanks = bombs::gzipMember(QByteArray(1024 * 1024, ' '));
    while (out.size() + blanks.size() < compressedBytes)
        out += blanks;
    return out + bombs::gzipMember("</svg>");
}

// An SVG of a few hundred bytes whose <use> elements nest ten deep, ten
// to a level: ten billion rectangles to draw.
inline QByteArray svgUseBomb()
{
    QByteArray svg = R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" )"
                     R"(width="100" height="100"><defs><rect id="l0" width="1" height="1"/>)";
    for (int level = 1; level <= 10; ++level) {
        svg += "<g id=\"l" + QByteArray::number(level) + "\">";
        for (int i = 0; i < 10; ++i)
            svg += "<use xlink:href=\"#l" + QByteArray::number(level - 1) + "\"/>";
        svg += "</g>";
    }
    return svg + R"(</defs><use xlink:href="#l10"/></svg>)";
}

// An RGB TIFF of `side` × `side` whose rows are all one PackBits-compressed
// row of black, stored once.
inline QByteArray tiffBomb(quint32 side = 8000)
{
    QByteArray row;
    for (quint32 left = side * 3; left > 0;) {
        const quint32 run = std::min<quint32>(left, 128);
        row += char(1 - int(run)); // repeat the next byte `run` times
        row += '\0';
        left -= run;
    }
    struct Entry {
        quint16 tag, type;
        quint32 count, value;
    };
    const quint32 entries = 9;
    const quint32 ifd = 8;
    const quint32 bits = ifd + 2 + entries * 12 + 4;
    const quint32 offsets = bits + 6;
    const quint32 counts = offsets + side * 4;
    const quint32 data = counts + side * 4;
    const Entry table[entries] = {
        { 256, 4, 1, side }, // width
        { 257, 4, 1, side }, // height
        { 258, 3, 3, bits }, // 8 bits per sample
        { 259, 3, 1, 32773 }, // PackBits
        { 262, 3, 1, 2 }, // RGB
        { 273, 4, side, offsets }, // strip offsets
        { 277, 3, 1, 3 }, // samples per pixel
        { 278, 4, 1, 1 }, // rows per strip
        { 279, 4, side, counts }, // strip byte counts
    };
    QByteArray out("II*\0", 4);
    bombs::put32(out, ifd);
    bombs::put16(out, entries);
    for (const Entry &e : table) {
        bombs::put16(out, e.tag);
        bombs::put16(out, e.type);
        bombs::put32(out, e.count);
        if (e.type == 3 && e.count == 1) {
            bombs::put16(out, quint16(e.value));
            bombs::put16(out, 0);
        } else {
            bombs::put32(out, e.value);
        }
    }
    bombs::put32(out, 0);
    for (int i = 0; i < 3; ++i)
        bombs::put16(out, 8);
    for (quint32 i = 0; i < side; ++i)
        bombs::put32(out, data);
    for (quint32 i = 0; i < side; ++i)
        bombs::put32(out, quint32(row.size()));
    return out + row;
}

// An 8-bit run-length BMP of `side` × `side` whose pixel data is only the
// end-of-bitmap mark: a kilobyte, nearly all of it palette.
inline QByteArray rleBmpBomb(quint32 side = 8000)
{
    const quint32 headers = 14 + 40 + 256 * 4;
    QByteArray out("BM");
    bombs::put32(out, headers + 2);
    bombs::put32(out, 0);
    bombs::put32(out, headers);
    bombs::put32(out, 40);
    bombs::put32(out, side);
    bombs::put32(out, side);
    bombs::put16(out, 1); // planes
    bombs::put16(out, 8); // bits per pixel
    bombs::put32(out, 1); // RLE8
    bombs::put32(out, 2);
    bombs::put32(out, 2835);
    bombs::put32(out, 2835);
    bombs::put32(out, 256);
    bombs::put32(out, 0);
    out += QByteArray(256 * 4, '\x40');
    return out + QByteArray("\0\x01", 2);
}

// A GIF whose logical screen is `side` × `side` with one 1 × 1 frame: the
// decoder makes a canvas of the whole screen.
inline QByteArray gifBomb(quint16 side = 8000)
{
    QByteArray out("GIF89a");
    bombs::put16(out, side);
    bombs::put16(out, side);
    out += QByteArray("\x80\0\0", 3); // a global table of two colours
    out += QByteArray("\0\0\0\xff\xff\xff", 6);
    out += ',';
    bombs::put16(out, 0);
    bombs::put16(out, 0);
    bombs::put16(out, 1);
    bombs::put16(out, 1);
    out += '\0';
    out += QByteArray("\x02\x02\x44\x01\0", 5); // clear, pixel 0, end
    return out + ';';
}

} // namespace quillery::test
