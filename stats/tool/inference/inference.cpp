// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/inference/inference.h"

#include "stats/tool/inference/confidence.h"

namespace buffon {

Inference inferenceOf(const HitTally& tally, const BatchPlan& plan)
{
    Inference inference{standardScore(), HitLaw(plan.needles, exactRate(plan.rule)), {}, {}};
    inference.fit = fitToLaw(tally, inference.law);
    inference.coverage = coverageOf(tally, plan, inference.law, inference.z);
    return inference;
}

}  // namespace buffon
