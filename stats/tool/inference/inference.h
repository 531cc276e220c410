// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>

#include "stats/batch_run.h"
#include "stats/tool/inference/coverage.h"
#include "stats/tool/inference/exact_law.h"

namespace buffon {

// What the exact law of a run's hits says of a batch: whether the runs scatter as it says, and
// how often the runs' own intervals hold pi beside how often it says they should. Worked out
// from the tally of hits, so it costs the same however many runs there are.
struct Inference {
    double z;  // the standard score of every interval and band
    HitLaw law;
    std::optional<LawFit> fit;
    std::optional<Coverage> coverage;
};

Inference inferenceOf(const HitTally& tally, const BatchPlan& plan);

}  // namespace buffon
