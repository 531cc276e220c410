// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/batch_summary.h"

#include <algorithm>
#include <cmath>

#include "experiment/run_size.h"

namespace buffon {
Interval wilsonInterval(double hits, double trials, double z)
{
    const double p = hits / trials;
    const double z2 = z * z;
    const double centre = (p + z2 / (2 * trials)) / (1 + z2 / trials);
    const double half =
        z / (1 + z2 / trials) * std::sqrt(p * (1 - p) / trials + z2 / (4 * trials * trials));
    // The bounds are 0 and 1 exactly for fractions of 0 and 1, where rounding would miss them.
    return {hits <= 0 ? 0.0 : std::max(centre - half, 0.0),
            hits >= trials ? 1.0 : std::min(centre + half, 1.0)};
}

namespace {

EstimateSpread withExpectation(EstimateSpread spread, int needles, int deduction, double rate,
                               double factor)
{
    // N / count, expanded about the expected count m with the binomial variance v: the mean
    // to second order, N/m (1 + v/m²), the spread to first, N sqrt(v) / m². The expansion
    // means nothing while a count of 0 is still likely, so then there is none.
    const double expectedCount = needles * rate - deduction;
    const double variance = needles * rate * (1 - rate);
    if (expectedCount > 3 * std::sqrt(variance)) {
        const double squared = expectedCount * expectedCount;
        spread.expectedMean = factor * (needles / expectedCount * (1 + variance / squared));
        spread.expectedSd = factor * (needles * std::sqrt(variance) / squared);
    }
    return spread;
}

EstimateSpread estimateSpread(const HitTally& tally, int needles, int deduction, double rate,
                              std::optional<double> factor)
{
    EstimateSpread spread;
    for (const auto& [hits, runs] : tally) {
        spread.noEstimate += runs;
    }
    if (!factor) {
        return spread;  // no run of a rule without an estimate has one
    }
    // The mean, then the squared deviations from it, each estimate counted as often as it
    // occurred; in extended precision, so that summing a table of counts costs no digit a
    // running sum over every run would keep.
    const std::vector<Tally> estimates = estimatesOf(tally, needles, deduction, *factor);
    long double sum = 0;
    for (const Tally& estimate : estimates) {
        spread.estimates += estimate.runs;
        sum += static_cast<long double>(estimate.value) * estimate.runs;
    }
    spread.noEstimate -= spread.estimates;
    if (spread.estimates == 0) {
        return withExpectation(spread, needles, deduction, rate, *factor);
    }
    const long double mean = sum / spread.estimates;
    long double squares = 0;
    for (const Tally& estimate : estimates) {
        squares += (estimate.value - mean) * (estimate.value - mean) * estimate.runs;
    }
    spread.mean = static_cast<double>(mean);
    if (spread.estimates > 1) {
        spread.sd = static_cast<double>(std::sqrt(squares / (spread.estimates - 1)));
    }
    return withExpectation(spread, needles, deduction, rate, *factor);
}

}  // namespace

std::optional<double> runEstimate(std::int64_t needles, int deduction, std::int64_t hits,
                                  double factor)
{
    if (const auto estimate = runResult(needles, deduction, hits).estimate) {
        return factor * *estimate;
    }
    return std::nullopt;
}

std::vector<Tally> estimatesOf(const HitTally& tally, int needles, int deduction, double factor)
{
    std::vector<Tally> estimates;
    for (const auto& [hits, runs] : tally) {
        if (const auto estimate = runEstimate(needles, deduction, hits, factor)) {
            estimates.push_back({*estimate, runs});
        }
    }
    return estimates;
}

BatchSummary summarise(const HitTally& tally, int needles, int deduction, double exactRate,
                       std::optional<double> estimateFactor, double z)
{
    BatchSummary summary;
    summary.needles = needles;
    summary.deduction = deduction;
    summary.exactRate = exactRate;
    // A long double holds any total a batch can reach exactly, where a 64-bit integer of
    // hits times runs could overflow on the way.
    long double totalHits = 0;
    for (const auto& [hits, runs] : tally) {
        summary.runs += runs;
        totalHits += static_cast<long double>(hits) * runs;
    }
    const double trials = static_cast<double>(needles) * static_cast<double>(summary.runs);
    summary.hitFraction = static_cast<double>(totalHits) / trials;
    summary.interval = wilsonInterval(static_cast<double>(totalHits), trials, z);
    summary.withoutDeduction = estimateSpread(tally, needles, 0, exactRate, estimateFactor);
    summary.withDeduction = estimateSpread(tally, needles, deduction, exactRate, estimateFactor);
    return summary;
}

BatchSummary summarise(const HitTally& tally, const BatchPlan& plan, double z)
{
    return summarise(tally, plan.needles, deduction(plan.rule, plan.needles), exactRate(plan.rule),
                     estimateFactor(plan.rule), z);
}

}  // namespace buffon
