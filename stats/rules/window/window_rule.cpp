// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/rules/window/window_rule.h"

#include <algorithm>
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

}  // namespace buffon
