// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <optional>

#include "stats/batch_summary.h"
#include "stats/tool/inference/exact_law.h"

namespace buffon {

// The interval for pi a student would give from one run: the rule's estimate, `factor` times
// needles over the count, taken at the two ends of the Wilson interval of the count after the
// deduction, `z` standard deviations wide. A count of 0 leaves it open above (its upper end is
// infinite); a count below 0 gives none.
std::optional<Interval> piInterval(std::int64_t needles, int deduction, std::int64_t hits,
                                   double factor, double z);

// How often a batch's runs' own intervals hold pi: the share of runs, with its own margin (the
// farther end of the share's Wilson interval `z` standard deviations wide), and the share the
// exact law of the hits predicts. The share speaks for the runs' intervals only where the
// batch is large enough to expect five runs that miss pi at the nominal confidence, by the rule
// of thumb that lets a share be read as normal (and the law's test merge counts to five).
struct Coverage {
    double share = 0;
    double margin = 0;
    double predicted = 0;
    std::int64_t holding = 0;  // runs whose interval holds pi
    bool enoughRuns = false;
};

// None for a rule that gives no estimate.
std::optional<Coverage> coverageOf(const HitTally& tally, const BatchPlan& plan, const HitLaw& law,
                                   double z);

}  // namespace buffon
