#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

namespace quillery {

// The byte work behind photo and file attachments: decoding stored image
// bytes into a bounded bitmap, and re-encoding a picked photo as a bounded
// JPEG. Both are pure and safe to run on any thread.
//
// Decoding never trusts the bytes: an image whose declared size is absurd, or
// whose full decode would need more than the decode budget, is refused before
// any pixel is read, and JPEG images are decoded straight at a reduced scale
// rather than at full size and then shrunk.

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
// Formats that cannot decode at a reduced scale are decoded whole first, and
// progressive JPEGs keep all their coefficients in memory; such images are
// refused when that whole-image buffer would exceed this many bytes.
inline constexpr qint64 FullDecodeBudgetBytes = 256LL * 1024 * 1024;

// The first image in `data`, orientation applied, its longest side at most
// `maxPixel` (images already smaller keep their size). None when the bytes
// are not a readable image or exceed the limits above.
std::optional<QImage> decodeThumbnail(const QByteArray &data, int maxPixel);

// `decodeThumbnail(data, maxPixel)` written as a new JPEG at `quality`
// (0 to 1). Transparent areas are laid on white. None when decoding or
// writing fails.
std::optional<QByteArray> reencodeJPEG(const QByteArray &data, int maxPixel, double quality);

} // namespace quillery
