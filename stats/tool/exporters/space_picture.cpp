// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// --space: the first needles of run 1 as points of the space of throws, over the rule's exact
// hit region.

#include "stats/run_seed.h"
#include "stats/tool/exporters/picture_exporter.h"
#include "stats/tool/pictures/plot_file.h"
#include "stats/tool/pictures/plot_texts.h"
#include "stats/tool/pictures/space_plot.h"

namespace buffon {
namespace {

class SpacePicture final : public PictureExporter {
public:
    using PictureExporter::PictureExporter;

    std::string finish(const Results& results) const override
    {
        const BatchPlan& plan = results.plan;
        const int shown = results.pictures.spaceNeedles;
        const SpacePlot plot(plan.rule, firstThrows(plan.rule, PlanReseeds(plan)(0), shown),
                             plotSize(results.pictures));
        const QString title =
            QStringLiteral(
                "Height against angle of %1 of run 1, over the region where they hit; %2, "
                "seed %3")
                .arg(shown == 1 ? QStringLiteral("the first needle")
                                : QStringLiteral("the first %1 needles").arg(grouped(shown)),
                     ruleTitle(plan.rule))
                .arg(plan.seed);
        return picture(plot, title, results.pictures);
    }
};

}  // namespace

const Exporter& spacePicture(PictureFormat format)
{
    return pictureExporter<SpacePicture>(format);
}

}  // namespace buffon
