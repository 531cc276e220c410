// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/command/outputs.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "stats/tool/pictures/plot_file.h"

namespace buffon {

// The exporters, one file each in exporters/.
const Exporter& csvTable();
const Exporter& summaryJson();
const Exporter& summaryText();
const Exporter& histogramPicture(PictureFormat format);
const Exporter& traceTable();
const Exporter& tracePicture(PictureFormat format);
const Exporter& spacePicture(PictureFormat format);
const Exporter& intervalsPicture(PictureFormat format);

std::span<const OutputKind> outputKinds()
{
    static const std::array csv{OutputFormat{"", csvTable(), false}};
    static const std::array json{OutputFormat{"", summaryJson(), false}};
    static const std::array plot{
        OutputFormat{".svg", histogramPicture(PictureFormat::Svg), true},
        OutputFormat{"", histogramPicture(PictureFormat::Png), true},
    };
    static const std::array trace{
        OutputFormat{".csv", traceTable(), false},
        OutputFormat{".png", tracePicture(PictureFormat::Png), true},
        OutputFormat{".svg", tracePicture(PictureFormat::Svg), true},
    };
    static const std::array space{
        OutputFormat{".png", spacePicture(PictureFormat::Png), true},
        OutputFormat{".svg", spacePicture(PictureFormat::Svg), true},
    };
    static const std::array intervals{
        OutputFormat{".png", intervalsPicture(PictureFormat::Png), true},
        OutputFormat{".svg", intervalsPicture(PictureFormat::Svg), true},
    };
    static const std::array kinds{
        OutputKind{"csv",
                   "Write one row per run to FILE: run, hits, count after the deduction, "
                   "estimate, the number it reseeds from, its 95% interval for pi and whether it "
                   "holds pi. - is standard output, and the summary then goes to standard error.",
                   RunsNeeded::Any, false, csv},
        OutputKind{"json", "Write the summary's figures as JSON to FILE (- for standard output).",
                   RunsNeeded::Any, false, json},
        OutputKind{"plot",
                   "Draw a histogram of the estimates, with pi and their mean marked, to FILE: "
                   "SVG if its name ends in .svg, PNG otherwise.",
                   RunsNeeded::Any, true, plot},
        OutputKind{"trace",
                   "Follow one run of --needles as it goes, the running estimate recorded at "
                   "about 200 points: FILE.csv for the figures, FILE.png or FILE.svg for a plot.",
                   RunsNeeded::Trace, false, trace},
        OutputKind{"space",
                   "Draw the first --space-needles needles of run 1 as points of the plane of "
                   "their angle and start height, over the rule's exact hit region: FILE.png or "
                   "FILE.svg.",
                   RunsNeeded::Batch, false, space},
        OutputKind{"intervals",
                   "Draw the first 100 runs' own 95% intervals for pi against pi, those that miss "
                   "it in red: FILE.png or FILE.svg.",
                   RunsNeeded::Batch, true, intervals},
    };
    return kinds;
}

const OutputFormat* formatFor(const OutputKind& kind, std::string_view path)
{
    const auto endsWith = [path](std::string_view suffix) {
        return path.size() >= suffix.size() &&
               std::equal(suffix.begin(), suffix.end(), path.end() - suffix.size(),
                          [](char a, char b) {
                              return std::tolower(static_cast<unsigned char>(a)) ==
                                     std::tolower(static_cast<unsigned char>(b));
                          });
    };
    for (const OutputFormat& format : kind.formats) {
        if (endsWith(format.suffix)) {
            return &format;
        }
    }
    return nullptr;
}

const Exporter& summaryExporter()
{
    return summaryText();
}

}  // namespace buffon
