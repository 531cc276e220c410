// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>

namespace buffon {

// A new temporary file of ours in the folder of `target`, named after it, open for writing:
// its descriptor, or -1 with errno set. Until forgotten, it is removed if a signal ends the
// program: Ctrl-C, a terminal hanging up, a kill, a timer or a CPU limit running out. A signal
// the program was started with ignored (nohup, a background job) stays ignored.
int createTemporary(const std::string& target, std::string& name);

// The temporary is gone or renamed: a signal no longer removes anything of that name.
void forgetTemporary(const std::string& name);

}  // namespace buffon
