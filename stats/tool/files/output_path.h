// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>
#include <string>

namespace buffon {

// Where the bytes of an output named by a path go. A path is bytes, as the command line gave
// it, and goes to the system as it is.
struct Destination {
    enum class Kind {
        // One of the program's own open descriptors: "-" (standard output), /dev/stdout,
        // /dev/stderr, /dev/fd/N, /proc/self/fd/N, the pipe of a process substitution, written
        // through a copy of the descriptor where the caller's redirection left it.
        Descriptor,
        // An ordinary file, or a name with nothing behind it yet: written whole or not at all,
        // through a temporary file beside it that replaces it once complete.
        Replaced,
        // Anything else, a device or a FIFO, written straight into, since replacing it would
        // destroy it; and an ordinary file its folder does not let be replaced (a folder the
        // user may not write, a sticky or append-only one, a file mounted in place), written
        // as the shell's `>` writes it.
        InPlace,
    };
    Kind kind = Kind::Replaced;
    int descriptor = -1;  // Descriptor
    // Replaced and InPlace: the path with its chain of symbolic links followed, dangling or not,
    // so that a link is written through and never replaced.
    std::string path;
};

Destination destinationOf(const std::string& path);

// The folder a path names its file in ("." for a bare name), and the file's name in it.
std::string folderOf(const std::string& path);
std::string nameOf(const std::string& path);

// What an output reaches, to tell two outputs that would overwrite each other: the device and
// inode of what exists, else those of its folder and its name there.
struct FileIdentity {
    bool exists = false;
    bool device = false;  // a character device, which keeps none of the bytes written to it
    unsigned long long deviceNumber = 0;
    unsigned long long inode = 0;
    std::string path;  // what tells it apart without an inode: a new file's name in its folder

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

FileIdentity identityOf(const Destination& destination);
FileIdentity identityOfDescriptor(int descriptor);

}  // namespace buffon
