#pragma once

#include "core/theme/ColorScheme.h"

#include <QColor>

namespace quillery {

// The fixed colours of the interface around the palette, each with a light
// and a dark variant: paper (pages, cards), ink (titles, task text), muted
// ink (placeholders, secondary text, controls), rule (hair lines) and desk
// (behind the book).
enum class ThemeColor { Paper, Ink, MutedInk, Rule, Desk };

QColor themeColor(ThemeColor role, ColorScheme scheme);

// The red of warnings (an overdue task's summary), per scheme.
QColor alertColor(ColorScheme scheme);

// How strongly a page's palette colour tints its paper.
double tintOpacity(ColorScheme scheme);

// The tint laid over the paper of a page of colour `colorIndex`: its palette
// colour at the scheme's tint opacity, or fully transparent for Slate.
QColor paperTint(int colorIndex, ColorScheme scheme);

} // namespace quillery
