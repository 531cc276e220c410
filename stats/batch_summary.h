// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "stats/batch_run.h"

namespace buffon {

struct Interval {
    double low = 0;
    double high = 0;
    bool holds(double value) const { return low <= value && value <= high; }
};

// The Wilson score interval of a hit fraction, `z` standard deviations wide on either side (1.96
// for 95%): a rate is a probability, so it lies within 0 to 1.
Interval wilsonInterval(double hits, double trials, double z);

// The estimates of pi over a batch, taken one way (with or without the deduction).
struct EstimateSpread {
    std::int64_t estimates = 0;
    std::int64_t noEstimate = 0;  // runs whose count was 0, or all where the rule gives none
    std::optional<double> mean;
    std::optional<double> sd;  // sample standard deviation, from two estimates on
    // Delta-method values for the exact hit rate, where the expected count lies more than
    // three standard deviations above 0.
    std::optional<double> expectedMean;
    std::optional<double> expectedSd;
};

struct BatchSummary {
    std::int64_t runs = 0;
    int needles = 0;
    int deduction = 0;
    double hitFraction = 0;
    Interval interval;  // Wilson score interval of the hit fraction
    double exactRate = 0;
    EstimateSpread withoutDeduction;
    EstimateSpread withDeduction;
};

// A value that occurs `runs` times.
struct Tally {
    double value = 0;
    std::int64_t runs = 0;
};

// The estimate of pi of one run: `factor` times needles over the count after the deduction, the
// window's own estimate for a factor of 1; none when the count is 0.
std::optional<double> runEstimate(std::int64_t needles, int deduction, std::int64_t hits,
                                  double factor);

// The estimates a tally of hits gives, each as often as its hits occurred.
std::vector<Tally> estimatesOf(const HitTally& tally, int needles, int deduction, double factor);

// Needs at least one run. `exactRate` is passed in so callers summarising several batches
// work it out once.
// Estimates are `estimateFactor` times needles over the count after the deduction; without a
// factor there are none. The interval of the hit fraction is `z` standard deviations wide.
BatchSummary summarise(const HitTally& tally, int needles, int deduction, double exactRate,
                       std::optional<double> estimateFactor, double z);
// The summary of a plan's runs, under its rule.
BatchSummary summarise(const HitTally& tally, const BatchPlan& plan, double z);

}  // namespace buffon
