// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "experiment/number_text.h"

#include <array>
#include <charconv>

namespace buffon {

std::string numberText(double value, std::string_view decimalSeparator)
{
    // to_chars ignores the C locale, so the separator is ours to choose.
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    std::string text(buffer.data(), result.ptr);
    if (const auto point = text.find('.'); point != std::string::npos) {
        text.replace(point, 1, decimalSeparator);
    }
    return text;
}

std::string numberText(std::int64_t value)
{
    return std::to_string(value);
}

std::string shortestText(double value)
{
    std::array<char, 32> buffer{};
    return std::string(buffer.data(),
                       std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr);
}

}  // namespace buffon
