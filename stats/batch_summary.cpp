#include "stats/batch_summary.h"

#include <cmath>

#include "experiment/run_size.h"

namespace buffon {
namespace {

constexpr double kZ95 = 1.959963984540054;

}  // namespace

Interval wilsonInterval(double hits, double trials)
{
    const double p = hits / trials;
    const double z2 = kZ95 * kZ95;
    const double centre = (p + z2 / (2 * trials)) / (1 + z2 / trials);
    const double half =
        kZ95 / (1 + z2 / trials) * std::sqrt(p * (1 - p) / trials + z2 / (4 * trials * trials));
    return {centre - half, centre + half};
}

namespace {

EstimateSpread estimateSpread(std::span<const std::int32_t> hits, int needles, int deduction,
                              double rate)
{
    EstimateSpread spread;
    // Welford's running mean and squared deviations, in run order so the result is the same
    // however the runs were shared out.
    double mean = 0;
    double squares = 0;
    for (const std::int32_t h : hits) {
        const RunResult result = runResult(needles, deduction, h);
        if (!result.estimate) {
            ++spread.noEstimate;
            continue;
        }
        ++spread.estimates;
        const double delta = *result.estimate - mean;
        mean += delta / static_cast<double>(spread.estimates);
        squares += delta * (*result.estimate - mean);
    }
    if (spread.estimates > 0) {
        spread.mean = mean;
    }
    if (spread.estimates > 1) {
        spread.sd = std::sqrt(squares / static_cast<double>(spread.estimates - 1));
    }
    // N / count, expanded about the expected count m with the binomial variance v: the mean
    // to second order, N/m (1 + v/m²), the spread to first, N sqrt(v) / m². The expansion
    // means nothing while a count of 0 is still likely, so then there is none.
    const double expectedCount = needles * rate - deduction;
    const double variance = needles * rate * (1 - rate);
    if (expectedCount > 3 * std::sqrt(variance)) {
        const double squared = expectedCount * expectedCount;
        spread.expectedMean = needles / expectedCount * (1 + variance / squared);
        spread.expectedSd = needles * std::sqrt(variance) / squared;
    }
    return spread;
}

}  // namespace

BatchSummary summarise(std::span<const std::int32_t> hits, int needles, int deduction,
                       double exactRate)
{
    BatchSummary summary;
    summary.runs = static_cast<std::int64_t>(hits.size());
    summary.needles = needles;
    summary.deduction = deduction;
    summary.exactRate = exactRate;
    std::int64_t totalHits = 0;
    for (const std::int32_t h : hits) {
        totalHits += h;
    }
    const double trials = static_cast<double>(needles) * static_cast<double>(summary.runs);
    summary.hitFraction = static_cast<double>(totalHits) / trials;
    summary.interval = wilsonInterval(static_cast<double>(totalHits), trials);
    summary.withoutDeduction = estimateSpread(hits, needles, 0, exactRate);
    summary.withDeduction = estimateSpread(hits, needles, deduction, exactRate);
    return summary;
}

}  // namespace buffon
