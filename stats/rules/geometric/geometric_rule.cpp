// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/rules/geometric/geometric_rule.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "stats/rules/window/window_rule.h"

namespace buffon {

double GeometricRule::exactRate() const
{
    const double ratio = length / spacing;
    if (ratio <= 1) {
        return 2 * ratio * std::numbers::inv_pi;
    }
    // (L/D) (1 - sqrt(1 - x²)) with x = D/L, written as x / (1 + sqrt(1 - x²)): subtracting two
    // numbers near 1 would lose every digit for a long needle, and an overflowing L/D would
    // give inf times 0. Both branches give 2/pi at L = D, so the rate does not jump there; it
    // tends to 1 for ever longer needles, and a rounding that passes 1 is no probability.
    const double inverse = spacing / length;
    const double excess = inverse / (1 + std::sqrt(1 - inverse * inverse));
    return std::min(1.0, 2 * std::numbers::inv_pi * (std::acos(inverse) + excess));
}

std::optional<double> GeometricRule::estimateFactor() const
{
    if (length <= spacing) {
        return 2 * (length / spacing);
    }
    return std::nullopt;
}

double GeometricRule::comparedRate() const
{
    return WindowRule().exactRate();
}

std::string GeometricRule::refusal() const
{
    // A needle's half length and a line's half spacing, times a draw as small as 2^-52, must
    // stay normal numbers for the counts to keep their precision.
    constexpr double kSmallest = 1e-290;
    if (length < kSmallest) {
        return "a --length below 1e-290 loses the precision the needles are counted with";
    }
    if (spacing < kSmallest) {
        return "a --spacing below 1e-290 loses the precision the needles are counted with";
    }
    // Shorter needles would underflow the figures of a run's spread, and no run could show them
    // hitting anyway.
    constexpr double kMostNeedles = std::numeric_limits<int>::max();
    if (exactRate() * kMostNeedles < 1) {
        return "a needle this short beside the spacing hits less than once in the longest run "
               "(2147483647 needles): make --length a larger share of --spacing";
    }
    return {};
}

ThrowSpace GeometricRule::throwSpace() const
{
    return {"acute angle to the lines (radians)", std::numbers::pi / 2,
            "distance of its centre from the nearest line", 0, spacing / 2};
}

std::vector<Throw> GeometricRule::firstThrows(std::uint32_t seedBits, int count) const
{
    GeometricNeedles needles = stream(seedBits);
    std::vector<Throw> throws;
    for (int i = 0; i < count; ++i) {
        throws.push_back(needles.next());
    }
    return throws;
}

HeightRange GeometricRule::hitRegion(double angle) const
{
    // Every distance is 0 or more; the region starts below them all.
    return {-std::numeric_limits<double>::infinity(), length / 2 * std::sin(angle)};
}

}  // namespace buffon
