// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <optional>

#include "experiment/lesson_modes.h"

namespace buffon {

// What the window program's command line asks. Its own options, help and version, are answered
// here, without a display; the options every Qt program takes are left where they stand, for
// QApplication to take out and act on.
struct CommandLine {
    std::optional<int> exitStatus;  // set when the command line alone ends the program
    QString platform;               // Qt's -platform, where given
    bool namesDisplay = false;      // Qt's -display given
    LessonModes modes;              // the lesson's modes, all off unless asked for
};

// Answers --help and --version on stdout, and refuses an unknown option, a Qt option that
// lacks its value or a mode's value out of its range with one line on stderr and status 2.
CommandLine readCommandLine(int& argc, char* argv[]);

}  // namespace buffon
