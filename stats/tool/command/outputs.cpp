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
    static const std::array csv{OutputFormat{kAnyName, csvTable(), false}};
    static const std::array json{OutputFormat{kAnyName, summaryJson(), false}};
    // Every picture is written as PNG, SVG or PDF, as its name's suffix says.
    const auto picture = [](std::string_view suffix, const Exporter& exporter) {
        return OutputFormat{suffix, exporter, true};
    };
    using enum PictureFormat;
    static const std::array plot{
        picture(".png", histogramPicture(Png)),
        picture(".svg", histogramPicture(Svg)),
        picture(".pdf", histogramPicture(Pdf)),
        picture(kNoSuffix, histogramPicture(Png)),
    };
    static const std::array trace{
        OutputFormat{".csv", traceTable(), false},
        picture(".png", tracePicture(Png)),
        picture(".svg", tracePicture(Svg)),
        picture(".pdf", tracePicture(Pdf)),
    };
    static const std::array space{
        picture(".png", spacePicture(Png)),
        picture(".svg", spacePicture(Svg)),
        picture(".pdf", spacePicture(Pdf)),
    };
    static const std::array intervals{
        picture(".png", intervalsPicture(Png)),
        picture(".svg", intervalsPicture(Svg)),
        picture(".pdf", intervalsPicture(Pdf)),
    };
    static const std::array kinds{
        OutputKind{"csv",
                   "Write one row per run to FILE: run, hits, count after the deduction, "
                   "estimate, the number it reseeds from, its 95% interval for pi and whether it "
                   "holds pi. - is standard output, and the summary then goes to standard error.",
                   RunsNeeded::Any, false, false, csv},
        OutputKind{"json", "Write the summary's figures as JSON to FILE (- for standard output).",
                   RunsNeeded::Any, false, false, json},
        OutputKind{"plot",
                   "Draw a histogram of the estimates, with pi and their mean marked, to "
                   "FILE.png, FILE.svg or FILE.pdf (PNG for a name without a suffix).",
                   RunsNeeded::Any, true, true, plot},
        OutputKind{"trace",
                   "Follow one run of --needles as it goes, the running estimate recorded at "
                   "about 200 points: FILE.csv for the figures, FILE.png, FILE.svg or FILE.pdf for "
                   "a plot.",
                   RunsNeeded::Trace, false, true, trace},
        OutputKind{"space",
                   "Draw the first --space-needles needles of run 1 as points of the plane of "
                   "their angle and start height, over the rule's exact hit region: FILE.png, "
                   "FILE.svg or FILE.pdf.",
                   RunsNeeded::Batch, false, false, space},
        OutputKind{"intervals",
                   "Draw the first --intervals-runs runs' own 95% intervals for pi against pi, "
                   "those that miss it in red: FILE.png, FILE.svg or FILE.pdf.",
                   RunsNeeded::Batch, true, true, intervals},
    };
    return kinds;
}

std::string_view suffixOf(std::string_view path)
{
    const std::string_view name = path.substr(path.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 || dot + 1 == name.size() ? kNoSuffix
                                                                               : name.substr(dot);
}

const OutputFormat* formatFor(const OutputKind& kind, std::string_view path)
{
    const auto withSuffix = [&kind](std::string_view suffix) -> const OutputFormat* {
        const auto sameLetters = [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) ==
                   std::tolower(static_cast<unsigned char>(b));
        };
        for (const OutputFormat& format : kind.formats) {
            if (format.suffix == kAnyName ||
                std::ranges::equal(format.suffix, suffix, sameLetters)) {
                return &format;
            }
        }
        return nullptr;
    };
    // A name that is a format's suffix alone (".pdf", as `--plot "$lesson.pdf"` makes with no
    // lesson named) is a file of that format to every viewer that opens it.
    const std::string_view name = path.substr(path.rfind('/') + 1);
    const OutputFormat* whole = name.starts_with('.') ? withSuffix(name) : nullptr;
    return whole ? whole : withSuffix(suffixOf(path));
}

const Exporter& summaryExporter()
{
    return summaryText();
}

}  // namespace buffon
