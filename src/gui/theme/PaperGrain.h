#pragma once

#include "core/theme/ColorScheme.h"

#include <QImage>

namespace quillery {

// The fine grain printed over every page: faint specks and short fibres on a
// transparent 320 × 320 tile (dark specks for the light scheme, light ones
// for the dark scheme). The pattern is computed, not shipped, and is the same
// everywhere: a fixed seed drives it. The tile wraps seamlessly, so it can be
// repeated across a page of any size; it is drawn at scale 2, one tile
// covering 160 × 160 points.
class PaperGrain final
{
public:
    static constexpr int TileSize = 320;
    static constexpr double Scale = 2.0;

    // The tile of `scheme`, made on first use and kept for the life of the
    // program.
    static const QImage &image(ColorScheme scheme);

    // Makes a fresh tile (premultiplied RGBA, 8 bits per channel).
    static QImage generate(ColorScheme scheme);
};

} // namespace quillery
