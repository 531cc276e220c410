// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>

namespace buffon {

// A new temporary file of ours in the folder open as `folder` (a descriptor the caller keeps
// open while the temporary lives), named after `target`, a name in that folder: its descriptor
// open for writing, or -1 with errno set, and its name in `name`. Until forgotten or removed,
// it is removed if a signal ends the program: Ctrl-C, a terminal hanging up, a kill, a timer or
// a CPU limit running out. A signal the program was started with ignored (nohup, a background
// job) stays ignored. It is found through the folder's descriptor, wherever the folder has been
// moved or a link to it pointed since.
int createTemporary(int folder, const std::string& target, std::string& name);

// The temporary has taken its file's place: a signal no longer removes anything of that name.
void forgetTemporary(int folder, const std::string& name);

// The temporary is removed now, its space given back, and forgotten.
void removeTemporary(int folder, const std::string& name);

}  // namespace buffon
