#include "Spring.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quillery {

namespace {

// Remaining distance to the target (1 at release).
double displacement(const Spring &spring, double t)
{
    const double response = std::max(spring.response, 1e-3);
    const double zeta = std::max(spring.dampingFraction, 0.0);
    const double omega = 2.0 * std::numbers::pi / response;
    if (zeta < 1.0) {
        const double damped = omega * std::sqrt(1.0 - zeta * zeta);
        return std::exp(-zeta * omega * t) * (std::cos(damped * t) + (zeta * omega / damped) * std::sin(damped * t));
    }
    if (zeta == 1.0)
        return std::exp(-omega * t) * (1.0 + omega * t);
    const double root = std::sqrt(zeta * zeta - 1.0);
    const double r1 = -omega * (zeta - root);
    const double r2 = -omega * (zeta + root);
    return (r2 * std::exp(r1 * t) - r1 * std::exp(r2 * t)) / (r2 - r1);
}

} // namespace

double Spring::progress(double seconds) const
{
    if (seconds <= 0)
        return 0.0;
    return 1.0 - displacement(*this, seconds);
}

double Spring::settlingTime(double tolerance) const
{
    const double swing = std::max(response, 1e-3);
    const double zeta = std::max(dampingFraction, 0.0);
    const double omega = 2.0 * std::numbers::pi / swing;
    if (zeta > 0.0 && zeta < 1.0) {
        // The swing never leaves its decaying envelope.
        const double damped = omega * std::sqrt(1.0 - zeta * zeta);
        const double amplitude = std::hypot(1.0, zeta * omega / damped);
        return std::max(0.0, std::log(amplitude / tolerance) / (zeta * omega));
    }
    if (zeta == 0.0)
        return 10.0; // undamped: it never settles; stop after a while
    // Critically or over-damped: the approach is monotonic.
    double low = 0.0;
    double high = swing;
    while (displacement(*this, high) > tolerance && high < 60.0)
        high *= 2.0;
    for (int i = 0; i < 50; ++i) {
        const double mid = (low + high) / 2.0;
        (displacement(*this, mid) > tolerance ? low : high) = mid;
    }
    return high;
}

} // namespace quillery
