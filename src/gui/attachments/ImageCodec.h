#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

namespace quillery {

// The byte work behind photo and file attachments: decoding stored image
// bytes into a bounded bitmap, and re-encoding a picked photo as a bounded
// JPEG. Both are pure and safe to run on any thread.
//
// Decoding never trusts the bytes. The format is decided from the bytes
// alone (see imageFormatOf), and only formats whose cost is known are read.
// The memory a decode can take at its peak is worked out from the declared
// size before any pixel is read, and an image over the decode budget is
// refused; decodes running at the same time share that budget, so however
// many threads decode, together they stay within it. JPEG images are decoded
// straight at a reduced scale, and SVG is drawn at the size asked for from a
// document checked first (see SvgDocument).

// Longest side of the bitmaps of the attachment tiles.
inline constexpr int TileMaxPixel = 240;
// Longest side of the bitmap shown by the image viewer.
inline constexpr int ViewerMaxPixel = 2400;
// Longest side and quality of imported photos.
inline constexpr int PhotoMaxPixel = 2400;
inline constexpr double PhotoQuality = 0.82;

// Images declaring more pixels (or a longer side) than this are refused.
inline constexpr qint64 MaxDeclaredPixels = 250'000'000;
inline constexpr int MaxDeclaredSide = 65'535;
// The most memory the decodes running at any moment may take together; an
// image whose decode alone would take more is refused.
inline constexpr qint64 DecodeBudgetBytes = 256LL * 1024 * 1024;

// The first image in `data`, orientation applied, its longest side at most
// `maxPixel` (images already smaller keep their size). None when the bytes
// are not a readable image or exceed the limits above.
std::optional<QImage> decodeThumbnail(const QByteArray &data, int maxPixel);

// The most memory decoding the raster image in `data` at its full size takes,
// or none when the bytes are not an image of a format decoded here, or its
// declared size is absurd. Vector formats are not raster images here.
std::optional<qint64> rasterDecodeCost(const QByteArray &data);

// `decodeThumbnail(data, maxPixel)` written as a new JPEG at `quality`
// (0 to 1). Transparent areas are laid on white. None when decoding or
// writing fails.
std::optional<QByteArray> reencodeJPEG(const QByteArray &data, int maxPixel, double quality);

} // namespace quillery
