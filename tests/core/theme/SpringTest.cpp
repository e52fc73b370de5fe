#include "core/theme/Spring.h"
#include "core/theme/Easing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace quillery;

TEST(Spring, responseSetsTheStiffnessAndDampingTheBounce)
{
    // Critically damped: 1 − e^(−ωt)(1 + ωt) with ω = 2π / response.
    const Spring firm { 0.5, 1.0 };
    const double omegaT = 2 * std::numbers::pi; // at t = response
    EXPECT_NEAR(firm.progress(0.5), 1 - std::exp(-omegaT) * (1 + omegaT), 1e-12);
    EXPECT_EQ(firm.progress(0), 0.0);

    double previous = 0;
    double peakFirm = 0;
    double peakBouncy = 0;
    const Spring bouncy { 0.35, 0.55 };
    for (double t = 0.005; t < 2.0; t += 0.005) {
        const double p = firm.progress(t);
        EXPECT_GE(p, previous) << "a critically damped spring never turns back";
        previous = p;
        peakFirm = std::max(peakFirm, p);
        peakBouncy = std::max(peakBouncy, bouncy.progress(t));
    }
    EXPECT_LE(peakFirm, 1.0);
    EXPECT_GT(peakBouncy, 1.1) << "damping 0.55 overshoots clearly";
    EXPECT_NEAR(bouncy.progress(3.0), 1.0, 1e-6);

    const Spring over { 0.5, 1.5 };
    EXPECT_LT(over.progress(0.5), firm.progress(0.5)) << "more damping, slower approach";
}

TEST(Spring, settlesWithinToleranceAtItsSettlingTime)
{
    for (const Spring spring :
        { Spring { 0.5, 0.85 }, Spring { 0.38, 0.7 }, Spring { 0.5, 1.0 }, Spring { 0.3, 2.0 } }) {
        const double settle = spring.settlingTime();
        EXPECT_GT(settle, 0.1);
        EXPECT_LT(settle, 2.0);
        for (double t = settle; t < settle + 2.0; t += 0.001)
            ASSERT_NEAR(spring.progress(t), 1.0, 0.001 + 1e-12) << spring.response << "/" << spring.dampingFraction;
        // …and not long before: the time is not padded out.
        double late = 0;
        for (double t = settle * 0.6; t < settle; t += 0.001)
            late = std::max(late, std::abs(1.0 - spring.progress(t)));
        EXPECT_GT(late, 0.001);
    }
}

TEST(Spring, easeOutStartsFastAndLandsSoftly)
{
    const QEasingCurve curve = easeOutCurve();
    EXPECT_NEAR(curve.valueForProgress(0.0), 0.0, 1e-9);
    EXPECT_NEAR(curve.valueForProgress(1.0), 1.0, 1e-9);
    EXPECT_GT(curve.valueForProgress(0.5), 0.6);
    EXPECT_LT(curve.valueForProgress(0.95) - curve.valueForProgress(0.9), 0.05);
}
