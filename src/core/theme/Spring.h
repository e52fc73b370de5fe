#pragma once

namespace quillery {

// The one spring every springy motion of the program uses, described the way
// designers give it: the time a full swing takes (`response`, seconds) and
// how much of the bounce is damped away (`dampingFraction`: 1 settles without
// overshoot, smaller values overshoot and bounce). A unit mass on a spring of
// stiffness (2π / response)² with damping 4π · dampingFraction / response,
// released at rest one unit away from its target.
struct Spring {
    double response = 0.5;
    double dampingFraction = 0.825;

    // How far the motion has come from start (0) to target (1) after
    // `seconds`; above 1 while it overshoots.
    double progress(double seconds) const;

    // The time after which the motion stays within `tolerance` of the target
    // (a tenth of a percent by default: well under a pixel on any page).
    double settlingTime(double tolerance = 0.001) const;

    friend bool operator==(const Spring &, const Spring &) = default;
};

} // namespace quillery
