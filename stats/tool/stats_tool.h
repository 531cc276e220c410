// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <span>
#include <string>

#include "stats/tool/command/stats_options.h"

namespace buffon {

// The command line, with the clock's seed and the core count as defaults.
ParsedCommandLine readCommandLine(std::span<const std::string> arguments);

// Prints the help, version or error text of a command line that gave no options to run with,
// and returns the status to exit with: 1 if the help or version could not be written.
int reportCommandLine(const ParsedCommandLine& command);

// Whether every requested file can be written, tried before any work: 0 if so, otherwise 1
// after saying which cannot and why.
int checkOutputFiles(const StatsOptions& options);

// Runs the batch or the trace, prints the summary and writes the requested files. Returns the
// exit status: 0 done, 1 an output failed to be written.
int runStats(const StatsOptions& options);

}  // namespace buffon
