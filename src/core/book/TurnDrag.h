#pragma once

#include "BookRules.h"

#include <optional>

namespace quillery {

// The decisions of a drag on the book face, as plain functions: when a drag
// becomes a page turn, how far the turn has gone, and whether letting go
// completes it.
namespace TurnDrag {

inline constexpr double DecisionTravel = 14.0; // points before a drag shows its intent
inline constexpr double HorizontalRatio = 1.4; // |tx| must exceed this × |ty|
inline constexpr double CommitProgress = 0.35; // past this, letting go completes the turn
inline constexpr double FlingFraction = 0.4; // a fling past this share of the span completes it
inline constexpr double FinishSeconds = 0.28; // completing or cancelling after a drag
inline constexpr double AutomaticSeconds = 0.32; // a turn started by a key, command or button

struct Step {
    DragMode mode = DragMode::Undecided;
    std::optional<Dir> start; // set when this change starts a turn
};

// One change of the drag with translation (tx, ty). `lifted`: a task group is
// being dragged on the page; `turnRunning`: a turn is in progress;
// `canTurn` answers for a direction.
Step change(
    DragMode mode, double tx, double ty, bool lifted, bool turnRunning, const std::function<bool(Dir)> &canTurn);

// How far a turn in `dir` has gone for a horizontal translation tx over
// `span` points, from 0 to 1.
double progress(Dir dir, double tx, double span);

// Whether letting go completes the turn: past the commit progress, or flung
// far enough (the predicted end translation).
bool commits(Dir dir, double progress, double predictedEndTx, double span);

} // namespace TurnDrag
} // namespace quillery
