// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// --intervals: the first runs' own 95% intervals for pi against pi, with the coverage of the
// whole batch.

#include <QPainter>
#include <stdexcept>

#include "stats/tool/exporter.h"
#include "stats/tool/intervals_plot.h"
#include "stats/tool/plot_file.h"

namespace buffon {
namespace {

class IntervalsPicture final : public Exporter {
public:
    explicit IntervalsPicture(PictureFormat format) : format_(format) {}

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
        return plotFile(format_, title, [&](QPainter& painter) {
            plot.paint(painter, title);
        });
    }

private:
    PictureFormat format_;
};

}  // namespace

const Exporter& intervalsPicture(PictureFormat format)
{
    static const IntervalsPicture png(PictureFormat::Png);
    static const IntervalsPicture svg(PictureFormat::Svg);
    return format == PictureFormat::Svg ? svg : png;
}

}  // namespace buffon
