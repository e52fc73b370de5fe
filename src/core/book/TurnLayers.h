#pragma once

#include "BookRules.h"

namespace quillery {

// How the two pages of a running turn are stacked and drawn: the page with
// the higher index lies on top and slides in from the right while the other
// slides a little left and darkens.
struct TurnLayers {
    struct Layer {
        int index = 0; // page index; past the end = the page to be created
        double offsetX = 0; // horizontal shift, points
        double darkness = 0; // opacity of a black cover (bottom layer)
        double shadow = 0; // opacity of the cast shadow (top layer)
    };
    Layer bottom;
    Layer top;

    static constexpr double ShadowRadius = 16;
    static constexpr double ShadowOffsetX = -5;

    // The layers of a turn in `dir` at `progress` from the current page,
    // for a face `width` points wide.
    static TurnLayers compute(Dir dir, double progress, int currentIndex, double width);
};

} // namespace quillery
