// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// --csv: one row per run, written as the runs are counted, so that a batch of any size needs no
// more memory than a block of runs. Columns are only ever added at the end, so that a
// spreadsheet made for an earlier table still reads this one.

#include <bit>
#include <cmath>
#include <numbers>

#include "experiment/number_text.h"
#include "experiment/run_size.h"
#include "stats/run_seed.h"
#include "stats/tool/exporters/exporter.h"
#include "stats/tool/inference/confidence.h"

namespace buffon {
namespace {

// The interval's ends, no upper end where it is open above, and whether it holds pi; all three
// empty where there is no interval.
std::string intervalText(const std::optional<Interval>& interval)
{
    if (!interval) {
        return ",,";
    }
    return numberText(interval->low) + ',' +
           (std::isinf(interval->high) ? std::string() : numberText(interval->high)) + ',' +
           (interval->holds(std::numbers::pi) ? "yes" : "no");
}

class CsvTable final : public Exporter {
public:
    std::string header(const BatchPlan&) const override
    {
        return "run,hits,count,estimate,reseed,pi_low,pi_high,holds_pi\n";
    }

    // Each run's hits, its count after the deduction, and the rule's estimate of pi in the
    // window's own text (for the window's rule exactly what the window shows); empty where
    // there is none. Then the number the run reseeds from, which names it, and the run's own
    // 95% interval for pi, as the summary's coverage counts it.
    std::string rows(const BatchPlan& plan, std::span<const std::int32_t> hits,
                     std::int64_t firstRun) const override
    {
        const int deducted = deduction(plan.rule, plan.needles);
        const std::optional<double> factor = estimateFactor(plan.rule);
        const double z = standardScore();
        const PlanReseeds reseeds(plan);
        std::string text;
        text.reserve(hits.size() * 96);
        for (std::int64_t run = firstRun; const std::int32_t h : hits) {
            const std::uint32_t reseed = reseeds(run++);
            text += std::to_string(run);
            text += ',';
            text += std::to_string(h);
            text += ',';
            text += std::to_string(runResult(plan.needles, deducted, h).count);
            text += ',';
            if (const auto estimate =
                    factor ? runEstimate(plan.needles, deducted, h, *factor) : std::nullopt) {
                text += numberText(*estimate);
            }
            text += ',';
            text += numberText(std::bit_cast<float>(reseed));
            text += ',';
            text += intervalText(factor ? piInterval(plan.needles, deducted, h, *factor, z)
                                        : std::nullopt);
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
