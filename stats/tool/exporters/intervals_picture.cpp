// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// --intervals: the first runs' own 95% intervals for pi against pi.

#include "stats/tool/exporters/picture_exporter.h"
#include "stats/tool/pictures/intervals_plot.h"
#include "stats/tool/pictures/plot_file.h"
#include "stats/tool/pictures/plot_texts.h"

namespace buffon {
namespace {

// The runs shown, out of how many, as the legend counts them.
QString titleOf(const NeedleRule& rule, std::int64_t needles, std::size_t shown, std::int64_t runs)
{
    const QString sized = counted(needles, QStringLiteral("needle"), QStringLiteral("needles"));
    if (runs == 1) {
        return QStringLiteral("95% interval for π from one run of %1; %2")
            .arg(sized, ruleTitle(rule));
    }
    if (shown == 1) {
        return QStringLiteral("95% interval for π from run 1 of %1 runs of %2; %3")
            .arg(grouped(runs), sized, ruleTitle(rule));
    }
    const QString which = static_cast<std::int64_t>(shown) == runs
                              ? QStringLiteral("%1 runs").arg(grouped(runs))
                              : QStringLiteral("the first %1 of %2 runs")
                                    .arg(grouped(static_cast<long long>(shown)), grouped(runs));
    return QStringLiteral("95% intervals for π from %1 of %2; %3")
        .arg(which, sized, ruleTitle(rule));
}

class IntervalsPicture final : public PictureExporter {
public:
    using PictureExporter::PictureExporter;

    std::string finish(const Results& results) const override
    {
        const BatchPlan& plan = results.plan;
        const std::optional<double> factor = estimateFactor(plan.rule);
        if (!factor) {
            throw NothingToShow("this rule gives no estimate, so no interval");
        }
        const int deducted = deduction(plan.rule, plan.needles);
        std::vector<IntervalsPlot::Run> runs;
        for (const std::int32_t hits :
             std::span(results.firstRuns)
                 .first(std::min<std::size_t>(results.firstRuns.size(),
                                              results.pictures.intervalRuns))) {
            runs.push_back({piInterval(plan.needles, deducted, hits, *factor, results.inference.z),
                            runEstimate(plan.needles, deducted, hits, *factor)});
        }
        const QString title = titleOf(plan.rule, plan.needles, runs.size(), results.summary.runs);
        const IntervalsPlot plot(std::move(runs), plotSize(results.pictures),
                                 results.pictures.range);
        return picture(plot, title, results.pictures);
    }
};

}  // namespace

const Exporter& intervalsPicture(PictureFormat format)
{
    return pictureExporter<IntervalsPicture>(format);
}

}  // namespace buffon
