// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <optional>

namespace buffon {

// What the window program's command line asks. Its own options, help and version, are answered
// here, without a display; the options every Qt program takes are left where they stand, for
// QApplication to take out and act on.
struct CommandLine {
    std::optional<int> exitStatus;  // set when the command line alone ends the program
    QString platform;               // Qt's -platform, where given
    bool namesDisplay = false;      // Qt's -display given
};

// Answers --help and --version on stdout, and refuses an unknown option or a Qt option that
// lacks its value with one line on stderr and status 2.
CommandLine readCommandLine(int& argc, char* argv[]);

}  // namespace buffon
