// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

namespace buffon {

// Colours are named by their index in the standard sixteen-colour palette; only these four occur.
enum class PaletteIndex : std::uint8_t {
    Black = 0,
    LightBlue = 9,
    LightGreen = 10,
    LightRed = 12,
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend constexpr bool operator==(Rgb, Rgb) = default;
};

constexpr Rgb paletteColour(PaletteIndex index)
{
    switch (index) {
    case PaletteIndex::Black:
        return {0, 0, 0};
    case PaletteIndex::LightBlue:
        return {0, 0, 255};
    case PaletteIndex::LightGreen:
        return {0, 255, 0};
    case PaletteIndex::LightRed:
        return {255, 0, 0};
    }
    return {0, 0, 0};
}

}  // namespace buffon
