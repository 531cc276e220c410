// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "stats/batch_run.h"

namespace buffon {

// An empty path means no such output; "-" means standard output.
struct StatsOptions {
    BatchPlan plan;
    QString csvPath;
    QString jsonPath;
    QString plotPath;
    QString tracePath;   // one long run followed instead of a batch
    bool quiet = false;  // no summary printed
};

// Either options to run with, or a text to print and the status to exit with: 0 after --help
// or --version, 2 for a command line that cannot be used.
struct ParsedCommandLine {
    std::optional<StatsOptions> options;
    QString message;
    int status = 0;
};

// `arguments` starts with the program's name, as QCoreApplication::arguments() does.
// `clockSeed` is used when no --seed is given, and `cores` when no --threads is.
ParsedCommandLine parseCommandLine(const QStringList& arguments, std::uint32_t clockSeed,
                                   int cores);

}  // namespace buffon
