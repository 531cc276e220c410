// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

#include "stats/tool/stats_options.h"

namespace buffon {

// The command line, with the clock's seed and the core count as defaults.
ParsedCommandLine readCommandLine(const QStringList& arguments);

// Prints the help, version or error text of a command line that gave no options to run with,
// and returns the status to exit with.
int reportCommandLine(const ParsedCommandLine& command);

// Whether the requested files can be written, tried before any work: 0 if so, otherwise 2
// after saying which cannot.
int checkOutputFiles(const StatsOptions& options);

// Runs the batch, prints the summary and writes the requested files. Returns the exit status:
// 0 done, 1 an output failed to be written.
int runStats(const StatsOptions& options);

}  // namespace buffon
