// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/inference/coverage.h"

#include "stats/tool/inference/confidence.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace buffon {

std::optional<Interval> piInterval(std::int64_t needles, int deduction, std::int64_t hits,
                                   double factor, double z)
{
    const std::int64_t count = hits - deduction;
    if (count < 0) {
        return std::nullopt;
    }
    const Interval fraction =
        wilsonInterval(static_cast<double>(count), static_cast<double>(needles), z);
    return Interval{factor / fraction.high, fraction.low > 0
                                                ? factor / fraction.low
                                                : std::numeric_limits<double>::infinity()};
}

std::optional<Coverage> coverageOf(const HitTally& tally, const BatchPlan& plan, const HitLaw& law,
                                   double z)
{
    const std::optional<double> factor = estimateFactor(plan.rule);
    if (!factor) {
        return std::nullopt;
    }
    const int deducted = deduction(plan.rule, plan.needles);
    const auto holdsPi = [&](std::int64_t hits) {
        const auto interval = piInterval(plan.needles, deducted, hits, *factor, z);
        return interval && interval->holds(std::numbers::pi);
    };
    std::int64_t runs = 0;
    Coverage coverage;
    for (const auto& [hits, count] : tally) {
        runs += count;
        coverage.holding += holdsPi(hits) ? count : 0;
    }
    const auto holding = static_cast<double>(coverage.holding);
    coverage.share = holding / static_cast<double>(runs);
    constexpr double kFewestMisses = 5;
    coverage.enoughRuns = static_cast<double>(runs) * (1 - kConfidence) >= kFewestMisses;
    // The reach of the share's Wilson interval, not the normal margin: a handful of runs that
    // all hold pi (or all miss it) is no certainty, and the normal margin would say 0.
    const Interval reach = wilsonInterval(holding, static_cast<double>(runs), z);
    coverage.margin = std::max(coverage.share - reach.low, reach.high - coverage.share);
    for (std::int64_t hits = law.lowest(); hits <= law.highest(); ++hits) {
        coverage.predicted += holdsPi(hits) ? law.probability(hits) : 0.0;
    }
    return coverage;
}

}  // namespace buffon
