#pragma once

#include <QEasingCurve>

namespace quillery {

// The one ease-out curve of the program (fast start, gentle stop), used
// wherever a motion is timed rather than sprung.
QEasingCurve easeOutCurve();

} // namespace quillery
