// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <span>
#include <string_view>

#include "stats/tool/exporters/exporter.h"

namespace buffon {

// What an output needs the runs to be.
enum class RunsNeeded {
    Any,    // a batch, or the one run of a trace
    Batch,  // a batch of runs: it cannot go with a trace
    Trace,  // it follows one run as it goes: the run becomes a trace
};

// A file name's suffix an output takes: ".svg" (in any case), a name without a suffix, or any name.
inline constexpr std::string_view kNoSuffix = "";
inline constexpr std::string_view kAnyName = "*";

struct OutputFormat {
    std::string_view suffix;
    const Exporter& exporter;
    bool picture;  // drawn with Qt's painter, which needs fonts
};

// One output the companion writes, as its option names it.
struct OutputKind {
    std::string_view option;
    std::string_view help;
    RunsNeeded runs;
    bool needsEstimates;  // it shows estimates of pi, which some rules do not give
    bool estimateAxis;    // a picture of it has an axis of estimates, where the rule gives them
    std::span<const OutputFormat> formats;
};

// Every output, in the order --help lists them and messages name them.
std::span<const OutputKind> outputKinds();

// The suffix of a file name: ".svg" for "runs.svg" and "a.b/runs.svg", none for "runs", "-",
// ".profile" or "runs.".
std::string_view suffixOf(std::string_view path);

// The format a file name asks of an output, or none.
const OutputFormat* formatFor(const OutputKind& kind, std::string_view path);

// The summary printed when the runs are done.
const Exporter& summaryExporter();

}  // namespace buffon
