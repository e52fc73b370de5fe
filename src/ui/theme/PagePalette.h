#pragma once

#include "core/theme/ColorScheme.h"

#include <QPalette>

namespace quillery::ui {

// The widget palette of everything drawn on a page of colour `colorIndex`:
// ink text on transparent fields, muted placeholders, and the page's palette
// colour as the accent of selections and controls.
QPalette pagePalette(const QPalette &base, int colorIndex, ColorScheme scheme);

} // namespace quillery::ui
