#pragma once

#include <QStringList>

#include "stats_options.h"

namespace buffon {

// The command line, with the clock's seed and the core count as defaults.
ParsedCommandLine ReadCommandLine(const QStringList& arguments);

// Prints the help, version or error text of a command line that gave no options to run with,
// and returns the status to exit with.
int ReportCommandLine(const ParsedCommandLine& command);

// Runs the batch, prints the summary and writes the requested files. Returns the exit status:
// 0 done, 1 an output failed late, 2 an output file that cannot be written.
int RunStats(const StatsOptions& options);

}  // namespace buffon
