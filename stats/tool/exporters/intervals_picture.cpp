// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// --intervals: the first runs' own 95% intervals for pi against pi, with the coverage of the
// whole batch.

#include <stdexcept>

#include "stats/tool/exporters/picture_exporter.h"
#include "stats/tool/intervals_plot.h"
#include "stats/tool/plot_file.h"

namespace buffon {
namespace {

class IntervalsPicture final : public PictureExporter {
public:
    using PictureExporter::PictureExporter;

    std::string finish(const Results& results) const override
    {
        const BatchPlan& plan = results.plan;
        const std::optional<double> factor = estimateFactor(plan.rule);
        const std::optional<Coverage>& coverage = results.inference.coverage;
        if (!factor || !coverage) {
            throw std::runtime_error("this rule gives no estimate, so no interval");
        }
        const int deducted = deduction(plan.rule, plan.needles);
        std::vector<IntervalsPlot::Run> runs;
        for (const std::int32_t hits : results.firstRuns) {
            runs.push_back({piInterval(plan.needles, deducted, hits, *factor, results.inference.z),
                            runEstimate(plan.needles, deducted, hits, *factor)});
        }
        const IntervalsPlot plot(std::move(runs));
        const QString title = QStringLiteral(
                                  "95% intervals for π from runs of %1 needles: %2 of "
                                  "all %3 runs hold π")
                                  .arg(plan.needles)
                                  .arg(coverage->share, 0, 'f', 3)
                                  .arg(results.summary.runs);
        return picture(plot, title);
    }
};

}  // namespace

const Exporter& intervalsPicture(PictureFormat format)
{
    return pictureExporter<IntervalsPicture>(format);
}

}  // namespace buffon
