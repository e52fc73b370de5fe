#pragma once

#include <QSize>

#include <array>
#include <cstdint>

class QWindow;

namespace quillery::ui {

// Keeping a window at fixed proportions under X11 window managers, which
// take the ratio from the window's WM_NORMAL_HINTS; Qt writes that property
// without one. The ratio applies to the window less a base size (the menu
// bar and the toolbar above the book), as the ICCCM describes. Elsewhere
// (Wayland, offscreen) nothing is done: the book letterboxes instead.
namespace X11SizeHints {

// WM_NORMAL_HINTS as the 18 32-bit words of the property.
using Words = std::array<std::int32_t, 18>;

inline constexpr std::int32_t AspectFlag = 1 << 7;
inline constexpr std::int32_t BaseSizeFlag = 1 << 8;

// Gives `hints` the fixed aspect ratio `ratio` (width : height) above the
// base size `base`, keeping every other field. Returns whether anything
// changed.
bool addAspect(Words &hints, const QSize &ratio, const QSize &base);

// Applies the ratio to `window` when it is shown by an X11 window manager.
// Cheap when the hints already hold it; call it again whenever Qt may have
// rewritten them (after the window changed size or its limits).
void keepAspect(QWindow *window, const QSize &ratio, const QSize &base);

} // namespace X11SizeHints
} // namespace quillery::ui
