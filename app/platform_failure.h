// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

namespace buffon {

struct CommandLine;

// Qt ends a program whose platform fails to start (no display, a platform that does not exist)
// with an abort and a hint to reinstall. From here until platformStarted(), such a failure
// ends it with one line on stderr and status 1 instead: that no display was found, where none
// was given, or else Qt's own reason.
void reportPlatformFailure(const CommandLine& line);

// Passes on what Qt said while it started, as it would have; or, on a platform that took the
// window but cannot show it, ends the program with Qt's reason and status 1.
void platformStarted();

}  // namespace buffon
