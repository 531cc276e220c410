// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// --space: the first needles of run 1 as points of the space of throws, over the rule's exact
// hit region.

#include <QLocale>
#include <QPainter>

#include "stats/run_seed.h"
#include "stats/tool/exporter.h"
#include "stats/tool/plot_file.h"
#include "stats/tool/space_plot.h"

namespace buffon {
namespace {

class SpacePicture final : public Exporter {
public:
    explicit SpacePicture(PictureFormat format) : format_(format) {}

    std::string finish(const Results& results) const override
    {
        const BatchPlan& plan = results.plan;
        const SpacePlot plot(
            plan.rule, firstThrows(plan.rule, runSeedBits(plan.seed, 0), results.spaceNeedles));
        const QString title =
            QStringLiteral("The first %1 %2 of run 1 where they fell; rule: %3, seed %4")
                .arg(QLocale(QLocale::English).toString(results.spaceNeedles))
                .arg(needlesAfter(results.spaceNeedles))
                .arg(QString::fromStdString(description(plan.rule)))
                .arg(plan.seed);
        return plotFile(format_, title, [&](QPainter& painter) {
            plot.paint(painter, title);
        });
    }

private:
    PictureFormat format_;
};

}  // namespace

const Exporter& spacePicture(PictureFormat format)
{
    static const SpacePicture png(PictureFormat::Png);
    static const SpacePicture svg(PictureFormat::Svg);
    return format == PictureFormat::Svg ? svg : png;
}

}  // namespace buffon
