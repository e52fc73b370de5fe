#pragma once

#include <QRect>
#include <QSize>

namespace quillery::ui {

// Where the book face sits in the book view: the largest rectangle of the
// page proportions (18 : 25 for one page, 36 : 25 for a spread) centred in
// the view, with the desk showing in the margins. A margin narrower than a
// couple of pixels is given to the face, so a window at the proportions up
// to rounding shows no hair-line of desk.
namespace FaceLayout {

inline constexpr int PageWidthRatio = 18;
inline constexpr int PageHeightRatio = 25;
// The least height the face is laid out for; a shorter view clips it.
inline constexpr int MinimumFaceHeight = 300;

QRect faceRect(const QSize &area, bool spread);

// The height a face `width` wide has at the page proportions, rounded up.
int heightForWidth(int width, bool spread);

} // namespace FaceLayout
} // namespace quillery::ui
