// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/rules/geometric/board_needles.h"

#include <bit>
#include <cmath>

namespace buffon {
namespace {

// Of the 24 spare bits, one picks the side of the line and one the lean; the other 22, times
// the five lines, give the line in their carry and the centre's x in what stays below it.
constexpr int kPlaceBits = 22;
constexpr std::uint32_t kPlaceMask = (1u << kPlaceBits) - 1;

}  // namespace

void TextbookBoardNeedles::reseed(float value)
{
    // The builtin behind std::bit_cast: the browser build's standard library predates it.
    needles_ = GeometricNeedles(__builtin_bit_cast(std::uint32_t, value), kLength, kSpacing);
}

BoardNeedle TextbookBoardNeedles::next()
{
    std::uint32_t spare = 0;
    const Throw needle = needles_.next(spare);
    return placed(needle, spare);
}

BoardNeedle TextbookBoardNeedles::placed(const Throw& needle, std::uint32_t spareBits)
{
    const bool below = (spareBits & 1u) != 0;
    const double lean = (spareBits & 2u) != 0 ? 1.0 : -1.0;
    const std::uint32_t scaled = (spareBits >> 2u) * static_cast<std::uint32_t>(kLineCount);
    const auto line = static_cast<int>(scaled >> kPlaceBits);
    const double across = static_cast<double>(scaled & kPlaceMask) / (kPlaceMask + 1.0);

    const double centreX = kPositionOffset + across * kPositionSpan;
    const double centreY =
        kRuledLines[static_cast<std::size_t>(line)] + (below ? needle.height : -needle.height);
    const double halfX = kLength / 2 * std::cos(needle.angle);
    const double halfY = kLength / 2 * std::sin(needle.angle) * lean;
    return {static_cast<float>(centreX - halfX), static_cast<float>(centreY - halfY),
            static_cast<float>(centreX + halfX), static_cast<float>(centreY + halfY),
            needle.hit ? Outcome::Hit : Outcome::Miss};
}

}  // namespace buffon
