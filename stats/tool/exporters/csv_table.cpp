// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// --csv: one row per run, written as the runs are counted, so that a batch of any size needs no
// more memory than a block of runs.

#include "experiment/number_text.h"
#include "experiment/run_size.h"
#include "stats/tool/exporters/exporter.h"

namespace buffon {
namespace {

class CsvTable final : public Exporter {
public:
    std::string header(const BatchPlan&) const override { return "run,hits,count,estimate\n"; }

    // Each run's hits, its count after the deduction, and the rule's estimate of pi in the
    // window's own text (for the window's rule exactly what the window shows); empty where
    // there is none.
    std::string rows(const BatchPlan& plan, std::span<const std::int32_t> hits,
                     std::int64_t firstRun) const override
    {
        const int deducted = deduction(plan.rule, plan.needles);
        const std::optional<double> factor = estimateFactor(plan.rule);
        std::string text;
        text.reserve(hits.size() * 32);
        std::int64_t run = firstRun + 1;
        for (const std::int32_t h : hits) {
            text += std::to_string(run++);
            text += ',';
            text += std::to_string(h);
            text += ',';
            text += std::to_string(runResult(plan.needles, deducted, h).count);
            text += ',';
            if (const auto estimate =
                    factor ? runEstimate(plan.needles, deducted, h, *factor) : std::nullopt) {
                text += numberText(*estimate);
            }
            text += '\n';
        }
        return text;
    }

    std::string finish(const Results&) const override { return {}; }
};

}  // namespace

const Exporter& csvTable()
{
    static const CsvTable exporter;
    return exporter;
}

}  // namespace buffon
