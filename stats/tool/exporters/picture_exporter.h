// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QPainter>
#include <QString>
#include <string>

#include "stats/tool/exporters/exporter.h"
#include "stats/tool/pictures/plot_file.h"

namespace buffon {

// What every picture output shares: the format its file's suffix chose and the plot's way into
// that format. Each picture says only what it draws.
class PictureExporter : public Exporter {
public:
    explicit PictureExporter(PictureFormat format) : format_(format) {}

protected:
    // The plot laid out for the picture's size.
    static QSize plotSize(const PictureSettings& settings)
    {
        return plotSizeFor({settings.width, settings.height});
    }

    template <class Plot>
    std::string picture(const Plot& plot, const QString& title,
                        const PictureSettings& settings) const
    {
        return plotFile(format_, {settings.width, settings.height}, title, [&](QPainter& painter) {
            plot.paint(painter, title);
        });
    }

private:
    PictureFormat format_;
};

// The one exporter of `Picture` for each format.
template <class Picture>
const Exporter& pictureExporter(PictureFormat format)
{
    static const Picture png(PictureFormat::Png);
    static const Picture svg(PictureFormat::Svg);
    static const Picture pdf(PictureFormat::Pdf);
    return format == PictureFormat::Svg ? svg : format == PictureFormat::Pdf ? pdf : png;
}

}  // namespace buffon
