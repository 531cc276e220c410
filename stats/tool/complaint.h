// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <string_view>

namespace buffon {

inline constexpr std::string_view kProgramName = "buffon-needle-stats";

// Bytes as one printable line, whatever was typed: line breaks, tabs and other control
// characters escaped, and so is every byte that is not part of UTF-8 text.
std::string printable(std::string_view bytes);

// "buffon-needle-stats: " and what, as one line on standard error.
void complain(std::string_view what);
// The one way an output that fails is reported: its name, then the system's reason.
void complainCannotWrite(std::string_view shownName, std::string_view reason);

// Whether a progress bar holds standard error's last line, which a complaint then clears.
void setStatusLineShown(bool shown);

}  // namespace buffon
