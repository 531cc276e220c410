// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// --trace FILE.png or FILE.svg: one long run as it converges, against pi and the band about the
// value its rule tends to.

#include <QLocale>
#include <QPainter>

#include "stats/tool/exporter.h"
#include "stats/tool/plot_file.h"
#include "stats/tool/trace_plot.h"

namespace buffon {
namespace {

class TracePicture final : public Exporter {
public:
    explicit TracePicture(PictureFormat format) : format_(format) {}

    std::string finish(const Results& results) const override
    {
        const QString title =
            QStringLiteral("One run of %1 %2 as it goes; rule: %3, seed %4")
                .arg(QLocale(QLocale::English).toString(qlonglong(results.trace.back().needles)))
                .arg(needlesAfter(results.trace.back().needles))
                .arg(QString::fromStdString(description(results.plan.rule)))
                .arg(results.plan.seed);
        const TracePlot plot(results.plan.rule, results.trace, results.inference.z);
        return plotFile(format_, title, [&](QPainter& painter) {
            plot.paint(painter, title);
        });
    }

private:
    PictureFormat format_;
};

}  // namespace

const Exporter& tracePicture(PictureFormat format)
{
    static const TracePicture png(PictureFormat::Png);
    static const TracePicture svg(PictureFormat::Svg);
    return format == PictureFormat::Svg ? svg : png;
}

}  // namespace buffon
