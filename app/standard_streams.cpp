// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "app/standard_streams.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <initializer_list>

namespace buffon {

void holdClosedStandardStreams()
{
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(stream, F_GETFD) < 0 && errno == EBADF) {
            // The lowest free number is the one closed.
            [[maybe_unused]] const int held = ::open("/dev/null", O_RDONLY);
        }
    }
}

}  // namespace buffon
