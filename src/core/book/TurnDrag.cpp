#include "TurnDrag.h"

#include <algorithm>
#include <cmath>

namespace quillery::TurnDrag {

Step change(DragMode mode, double tx, double ty, bool lifted, bool turnRunning, const std::function<bool(Dir)> &canTurn)
{
    if (lifted || mode != DragMode::Undecided)
        return { mode, std::nullopt };
    if (std::hypot(tx, ty) <= DecisionTravel)
        return { DragMode::Undecided, std::nullopt };
    if (std::abs(tx) > HorizontalRatio * std::abs(ty)) {
        const Dir dir = tx < 0 ? Dir::Forward : Dir::Backward;
        if (!turnRunning && canTurn(dir))
            return { DragMode::Flipping, dir };
    }
    return { DragMode::Ignored, std::nullopt };
}

double progress(Dir dir, double tx, double span)
{
    if (span <= 0)
        return 0;
    const double x = dir == Dir::Backward ? tx : -tx;
    return std::clamp(x / span, 0.0, 1.0);
}

bool commits(Dir dir, double progress, double predictedEndTx, double span)
{
    if (progress > CommitProgress)
        return true;
    const double predicted = dir == Dir::Forward ? -predictedEndTx : predictedEndTx;
    return predicted > FlingFraction * span;
}

} // namespace quillery::TurnDrag
