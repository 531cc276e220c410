// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/tool/complaint.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace buffon {
namespace {

// The length of the UTF-8 sequence of a printable character that starts `text`, or 0.
std::size_t printableSequence(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xc2 ? 0
                               : lead < 0xe0 ? 2
                               : lead < 0xf0 ? 3
                               : lead < 0xf5 ? 4
                                             : 0;
    if (length == 0 || length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xc0) != 0x80) {
            return 0;
        }
    }
    const auto second = static_cast<unsigned char>(length > 1 ? text[1] : 0);
    const bool overlong = (lead == 0xe0 && second < 0xa0) || (lead == 0xf0 && second < 0x90);
    const bool surrogate = lead == 0xed && second >= 0xa0;
    const bool beyondUnicode = lead == 0xf4 && second >= 0x90;
    const bool control = lead < 0x20 || lead == 0x7f || (lead == 0xc2 && second < 0xa0);
    return overlong || surrogate || beyondUnicode || control ? 0 : length;
}

std::atomic<bool> gStatusLineShown{false};

}  // namespace

std::string printable(std::string_view bytes)
{
    std::string line;
    while (!bytes.empty()) {
        if (const std::size_t length = printableSequence(bytes); length > 0) {
            line += bytes.substr(0, length);
            bytes.remove_prefix(length);
            continue;
        }
        const auto byte = static_cast<unsigned char>(bytes[0]);
        if (byte == '\n') {
            line += "\\n";
        } else if (byte == '\t') {
            line += "\\t";
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            line += escape;
        }
        bytes.remove_prefix(1);
    }
    return line;
}

void setStatusLineShown(bool shown)
{
    gStatusLineShown = shown;
}

void complain(std::string_view what)
{
    // One write, so that the line is never split by another writer; with standard error gone
    // there is nobody left to tell.
    const std::string line = (gStatusLineShown ? "\r\x1b[K" : "") + std::string(kProgramName) +
                             ": " + std::string(what) + '\n';
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
}

void complainCannotWrite(std::string_view shownName, std::string_view reason)
{
    complain("cannot write " + std::string(shownName) + ": " + std::string(reason));
}

}  // namespace buffon
