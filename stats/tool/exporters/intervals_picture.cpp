// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// --intervals: the first runs' own 95% intervals for pi against pi, with the coverage of the
// whole batch.

#include "stats/tool/exporters/picture_exporter.h"
#include "stats/tool/pictures/intervals_plot.h"
#include "stats/tool/pictures/plot_file.h"
#include "stats/tool/pictures/plot_texts.h"

namespace buffon {
namespace {

QString titleOf(const NeedleRule& rule, std::int64_t needles, std::int64_t runs, double coverage)
{
    const QString sized = counted(needles, QStringLiteral("needle"), QStringLiteral("needles"));
    if (runs == 1) {
        return QStringLiteral("95% interval for π from one run of %1: it %2 π; %3")
            .arg(sized, coverage > 0 ? QStringLiteral("holds") : QStringLiteral("misses"),
                 ruleTitle(rule));
    }
    return QStringLiteral("95% intervals for π from runs of %1: %2 of all %3 runs hold π; %4")
        .arg(sized)
        .arg(coverage, 0, 'f', 3)
        .arg(grouped(runs), ruleTitle(rule));
}

class IntervalsPicture final : public PictureExporter {
public:
    using PictureExporter::PictureExporter;

    std::string finish(const Results& results) const override
    {
        const BatchPlan& plan = results.plan;
        const std::optional<double> factor = estimateFactor(plan.rule);
        const std::optional<Coverage>& coverage = results.inference.coverage;
        if (!factor || !coverage) {
            throw NothingToShow("this rule gives no estimate, so no interval");
        }
        const int deducted = deduction(plan.rule, plan.needles);
        std::vector<IntervalsPlot::Run> runs;
        for (const std::int32_t hits : results.firstRuns) {
            runs.push_back({piInterval(plan.needles, deducted, hits, *factor, results.inference.z),
                            runEstimate(plan.needles, deducted, hits, *factor)});
        }
        const IntervalsPlot plot(std::move(runs), plotSize(results.pictures));
        const QString title =
            titleOf(plan.rule, plan.needles, results.summary.runs, coverage->share);
        return picture(plot, title, results.pictures);
    }
};

}  // namespace

const Exporter& intervalsPicture(PictureFormat format)
{
    return pictureExporter<IntervalsPicture>(format);
}

}  // namespace buffon
