// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/rules/window/window_rule.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "experiment/board.h"
#include "experiment/needle.h"

namespace buffon {
namespace {

// Share of start heights y in [offset, offset + span) whose needle, reaching `drop` below
// (above when negative), has floor(y) and floor(y + drop) on both sides of, or on, a line.
// That is the case exactly when y lies in [L - drop, L + 1) for drop >= 0, or in
// [L, L + 1 - drop) for drop < 0.
double hitShare(double drop)
{
    const double low = kPositionOffset;
    const double high = low + kPositionSpan;
    double share = 0.0;
    for (const double line : kRuledLines) {
        const double from = std::max(low, line - std::max(drop, 0.0));
        const double to = std::min(high, line + 1.0 - std::min(drop, 0.0));
        share += std::max(0.0, to - from);
    }
    return share / kPositionSpan;
}

}  // namespace

double WindowRule::exactRate() const
{
    // The vertical angle is uniform over [0, angle span); the midpoint rule over this many
    // steps is exact to far more digits than any run can resolve. Worked out once: traces ask
    // for it at every point.
    static const double rate = [] {
        constexpr int kSteps = 1 << 16;
        const double step = kAngleSpan / kSteps;
        double sum = 0.0;
        for (int i = 0; i < kSteps; ++i) {
            sum += hitShare(std::sin((i + 0.5) * step) * kNeedleReach);
        }
        return sum / kSteps;
    }();
    return rate;
}

namespace {

// The offset a needle's end takes downwards at this angle.
double dropAt(double angle)
{
    return std::sin(angle) * kNeedleReach;
}

// Hands the needle throw its draws and keeps them, for the angle it does not record.
struct KeptDraws {
    UniformRandomSource& random;
    float draws[4] = {};
    int taken = 0;
    float nextValue() { return draws[taken++ % 4] = random.nextValue(); }
};

}  // namespace

ThrowSpace WindowRule::throwSpace() const
{
    return {"angle of the needle's drop (radians)", kAngleSpan,
            "height of its start above the line", -kNeedleReach - 1, kNeedleReach};
}

std::vector<Throw> WindowRule::firstThrows(std::uint32_t seedBits, int count) const
{
    UniformRandomSource random(__builtin_bit_cast(float, seedBits));
    KeptDraws kept{random};
    std::vector<Throw> throws;
    for (int i = 0; i < count; ++i) {
        const Needle needle = throwNeedle(kept);
        const bool hit = needle.outcome == Outcome::Hit;
        const double low = std::min<double>(needle.startPixelY, needle.endPixelY);
        const double high = std::max<double>(needle.startPixelY, needle.endPixelY);
        // The line met, or else the nearest: every start lies within the reach of one.
        int line = kRuledLines.front();
        for (const int candidate : kRuledLines) {
            const bool met = low <= candidate && candidate <= high;
            if ((hit && met) ||
                (!hit && std::abs(candidate - needle.startY) < std::abs(line - needle.startY))) {
                line = candidate;
            }
        }
        throws.push_back({angleOf(kept.draws[3]), line - double{needle.startY}, hit});
    }
    return throws;
}

HeightRange WindowRule::hitRegion(double angle) const
{
    const double drop = dropAt(angle);
    return {std::min(drop, 0.0) - 1, std::max(drop, 0.0)};
}

std::optional<HeightRange> WindowRule::comparedRegion(double angle) const
{
    const double drop = dropAt(angle);
    // The band of a crossing is closed at both ends; the plane's heights are continuous, so the
    // end left open does not matter.
    return HeightRange{std::nextafter(std::min(drop, 0.0), -1.0), std::max(drop, 0.0)};
}

}  // namespace buffon
