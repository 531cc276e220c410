// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// --plot: a histogram of the runs' estimates of pi, after the deduction, with pi and their mean
// marked.

#include "stats/tool/exporters/picture_exporter.h"
#include "stats/tool/pictures/histogram_plot.h"
#include "stats/tool/pictures/plot_file.h"
#include "stats/tool/pictures/plot_texts.h"

namespace buffon {
namespace {

QString titleOf(const Results& results)
{
    const BatchSummary& summary = results.summary;
    const QString needles =
        counted(summary.needles, QStringLiteral("needle"), QStringLiteral("needles"));
    QString title = summary.runs == 1
                        ? QStringLiteral("Estimate of π from one run of %1").arg(needles)
                        : QStringLiteral("Estimates of π from %1 runs of %2")
                              .arg(grouped(summary.runs), needles);
    if (summary.deduction != 0) {
        title += QStringLiteral(", deduction %1").arg(summary.deduction);
    }
    if (summary.withDeduction.noEstimate != 0) {
        title += QStringLiteral(" (%1 without an estimate)")
                     .arg(grouped(summary.withDeduction.noEstimate));
    }
    return title + QStringLiteral("; ") + ruleTitle(results.plan.rule);
}

class HistogramPicture final : public PictureExporter {
public:
    using PictureExporter::PictureExporter;

    std::string finish(const Results& results) const override
    {
        const BatchSummary& summary = results.summary;
        const std::optional<double> factor = estimateFactor(results.plan.rule);
        if (!factor || !summary.withDeduction.mean) {
            throw NothingToShow("no run gave an estimate to plot");
        }
        const HistogramPlot plot =
            HistogramPlot::ofBatch(results.tally, summary, *factor, results.inference.law,
                                   plotSize(results.pictures), results.pictures.range);
        const QString title = titleOf(results);
        return picture(plot, title, results.pictures);
    }
};

}  // namespace

const Exporter& histogramPicture(PictureFormat format)
{
    return pictureExporter<HistogramPicture>(format);
}

}  // namespace buffon
