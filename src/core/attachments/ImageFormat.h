#pragma once

#include <QByteArray>

namespace quillery {

// The image format of attachment bytes, decided from the bytes alone: never
// from a name or a type identifier (which any device of the book can write),
// and never by letting the image library try its readers one after another,
// which would hand the bytes to whichever reader claims them first. Only the
// formats Quillery knows how to decode within its budget are named: "jpeg",
// "png", "gif", "bmp", "tiff", "webp", "svg" and "svgz" (gzip, which is
// what a compressed SVG is); anything else is the empty format.
QByteArray imageFormatOf(const QByteArray &data);

// Whether `format` is drawn from a document rather than decoded from pixels.
inline bool isVectorFormat(const QByteArray &format)
{
    return format == "svg" || format == "svgz";
}

} // namespace quillery
