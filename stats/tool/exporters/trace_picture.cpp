// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// --trace FILE.png or FILE.svg: one long run as it converges, against pi and the band about the
// value its rule tends to.

#include "stats/tool/exporters/picture_exporter.h"
#include "stats/tool/pictures/plot_file.h"
#include "stats/tool/pictures/plot_texts.h"
#include "stats/tool/pictures/trace_plot.h"

namespace buffon {
namespace {

class TracePicture final : public PictureExporter {
public:
    using PictureExporter::PictureExporter;

    std::string finish(const Results& results) const override
    {
        const QString title = QStringLiteral("One run of %1 as it goes; %2, seed %3")
                                  .arg(counted(results.trace.back().needles,
                                               QStringLiteral("needle"), QStringLiteral("needles")),
                                       ruleTitle(results.plan.rule))
                                  .arg(results.plan.seed);
        const TracePlot plot(results.plan.rule, results.trace, results.inference.z,
                             plotSize(results.pictures), results.pictures.range);
        return picture(plot, title, results.pictures);
    }
};

}  // namespace

const Exporter& tracePicture(PictureFormat format)
{
    return pictureExporter<TracePicture>(format);
}

}  // namespace buffon
