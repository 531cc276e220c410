// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace buffon {

// The default conversion of a number to text: at most 15 significant digits, trailing zeros
// and a trailing separator dropped, no group separators.
std::string numberText(double value, std::string_view decimalSeparator = ".");
std::string numberText(std::int64_t value);

// The shortest text that reads back as the same double, for files that keep every bit.
std::string shortestText(double value);

}  // namespace buffon
