#pragma once

#include <QByteArray>

#include <optional>

namespace quillery {

// Makes SVG and SVGZ attachments safe to draw. A compressed document is
// inflated here within a cap (the SVG library would inflate it whole, however
// large it grows: a megabyte of SVGZ can hold a gigabyte of text); the text is
// then read once, before the SVG library sees it, and refused when it holds
// more elements than can be drawn in bounded memory, refers to a file outside
// the document (the library would open it, and wait forever on a FIFO), or
// embeds pictures beyond the decode budget (the library decodes them whole).
class SvgDocument final
{
public:
    // Uncompressed text larger than this is refused.
    static constexpr qsizetype MaxBytes = 4 * 1024 * 1024;
    static constexpr int MaxElements = 50'000;

    struct Checked {
        QByteArray text; // to hand to the SVG library
        qint64 embeddedBytes = 0; // the peak memory of decoding its pictures
    };
    // The document ready to draw, or none. `format` is "svg" or "svgz" (see
    // imageFormatOf).
    static std::optional<Checked> toDraw(const QByteArray &data, const QByteArray &format);

    // The text of gzip `data` (all its members), or none when it is damaged
    // or inflates to more than `maxBytes`.
    static std::optional<QByteArray> inflate(const QByteArray &data, qsizetype maxBytes);

private:
    // The peak memory of the embedded pictures; none when unsafe.
    static std::optional<qint64> check(const QByteArray &text);
};

} // namespace quillery
