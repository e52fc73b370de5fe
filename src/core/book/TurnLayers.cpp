#include "TurnLayers.h"

#include <algorithm>

namespace quillery {

TurnLayers TurnLayers::compute(Dir dir, double progress, int currentIndex, double width)
{
    const int target = dir == Dir::Forward ? currentIndex + 1 : currentIndex - 1;
    const double t = dir == Dir::Forward ? progress : 1.0 - progress;
    TurnLayers layers;
    layers.bottom.index = dir == Dir::Forward ? currentIndex : target;
    layers.top.index = dir == Dir::Forward ? target : currentIndex;
    layers.bottom.offsetX = -0.18 * width * t;
    layers.bottom.darkness = 0.14 * t;
    layers.top.offsetX = width * (1.0 - t);
    layers.top.shadow = std::min(1.0, 3 * t) * 0.22 * std::min(1.0, 3 * (1.0 - t) + 0.25);
    return layers;
}

} // namespace quillery
