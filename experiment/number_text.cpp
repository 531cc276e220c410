// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "experiment/number_text.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdio>

namespace buffon {

std::string numberText(double value, std::string_view decimalSeparator)
{
    std::array<char, 64> buffer{};
#if defined(__cpp_lib_to_chars)
    // to_chars ignores the C locale, so the separator is ours to choose.
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    std::string text(buffer.data(), result.ptr);
#else
    // A standard library without to_chars for floating point (the browser build's) still has
    // printf, whose %.15g is the same conversion; that build never leaves the C locale.
    const int length = std::snprintf(buffer.data(), buffer.size(), "%.15g", value);
    std::string text(buffer.data(), static_cast<std::size_t>(length));
#endif
    if (const auto point = text.find('.'); point != std::string::npos) {
        text.replace(point, 1, decimalSeparator);
    }
    return text;
}

std::string numberText(std::int64_t value)
{
    return std::to_string(value);
}

#if defined(__cpp_lib_to_chars)
// Only files keep every bit, and the browser build writes none.
std::string shortestText(double value)
{
    std::array<char, 32> buffer{};
    return std::string(buffer.data(),
                       std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr);
}
#endif

}  // namespace buffon
