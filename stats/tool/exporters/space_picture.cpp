// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// --space: the first needles of run 1 as points of the space of throws, over the rule's exact
// hit region.

#include <QLocale>

#include "stats/run_seed.h"
#include "stats/tool/exporters/picture_exporter.h"
#include "stats/tool/pictures/plot_file.h"
#include "stats/tool/pictures/space_plot.h"

namespace buffon {
namespace {

class SpacePicture final : public PictureExporter {
public:
    using PictureExporter::PictureExporter;

    std::string finish(const Results& results) const override
    {
        const BatchPlan& plan = results.plan;
        const SpacePlot plot(
            plan.rule, firstThrows(plan.rule, runSeedBits(plan.seed, 0), results.spaceNeedles));
        const QString title =
            QStringLiteral("The first %1 %2 of run 1 where %3 fell; rule: %4, seed %5")
                .arg(QLocale(QLocale::English).toString(results.spaceNeedles))
                .arg(needlesAfter(results.spaceNeedles))
                .arg(results.spaceNeedles == 1 ? QStringLiteral("it") : QStringLiteral("they"))
                .arg(QString::fromStdString(description(plan.rule)))
                .arg(plan.seed);
        return picture(plot, title);
    }
};

}  // namespace

const Exporter& spacePicture(PictureFormat format)
{
    return pictureExporter<SpacePicture>(format);
}

}  // namespace buffon
