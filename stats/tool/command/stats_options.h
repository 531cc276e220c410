// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "stats/batch_run.h"
#include "stats/tool/command/outputs.h"

namespace buffon {

// An output asked for: what it is, the format its file name chose, and the name as given.
struct RequestedOutput {
    const OutputKind* kind = nullptr;
    const OutputFormat* format = nullptr;
    std::string path;  // "-" is standard output
};

struct StatsOptions {
    BatchPlan plan;
    std::vector<RequestedOutput> outputs;  // in the order of the table of outputs
    bool quiet = false;                    // no summary printed
    // The summary goes to standard error when standard output carries an output.
    bool summaryAside = false;
    PictureSettings pictures;

    // One long run followed as it goes, instead of a batch.
    bool traced() const;
    // Some output is a picture, which needs Qt's fonts.
    bool drawsPictures() const;
};

// Either options to run with, or a text to print and the status to exit with: 0 after --help
// or --version, 2 for a command line that cannot be used, with the reason in one line.
struct ParsedCommandLine {
    std::optional<StatsOptions> options;
    std::string message;
    int status = 0;
};

// `arguments` starts with the program's name, as main's argv does. `clockSeed` is used when no
// --seed is given, and `cores` when no --threads is.
ParsedCommandLine parseCommandLine(std::span<const std::string> arguments, std::uint32_t clockSeed,
                                   int cores);

}  // namespace buffon
