// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <cstdint>

#include "experiment/palette.h"

namespace buffon {

// Board geometry in drawing units of one pixel, origin top-left, y downwards.
inline constexpr int kBoardWidth = 523;
inline constexpr int kBoardHeight = 411;
inline constexpr int kLineSpacing = 80;
inline constexpr int kLineCount = 5;
inline constexpr float kLineEnd = 480.0f;

// The heights of the ruled lines, top to bottom: the whole line set of the hit rule.
inline constexpr std::array<int, kLineCount> kRuledLines = [] {
    std::array<int, kLineCount> lines{};
    for (int k = 1; k <= kLineCount; ++k) {
        lines[k - 1] = kLineSpacing * k;
    }
    return lines;
}();

// floor() without a library call, for values well inside the range of a 32-bit integer: the
// whole drawing unit a coordinate lies in, in the coordinate's own precision.
template <typename Real>
constexpr Real wholeUnits(Real value)
{
    const auto truncated = static_cast<std::int32_t>(value);
    return static_cast<Real>(truncated - static_cast<std::int32_t>(value < truncated));
}

// The drawing surface the experiment paints on. Implementations clip to their own area.
class Board {
public:
    virtual ~Board() = default;

    virtual void clear() = 0;
    virtual void drawSegment(float x1, float y1, float x2, float y2, PaletteIndex colour) = 0;
    // A segment `width` device pixels wide. A board that draws only fine lines draws it fine.
    virtual void drawWideSegment(float x1, float y1, float x2, float y2, PaletteIndex colour,
                                 int width)
    {
        static_cast<void>(width);
        drawSegment(x1, y1, x2, y2, colour);
    }
};

// Draws the five ruled lines over whatever the board shows; it does not clear first.
inline void ruleBoard(Board& board, PaletteIndex colour)
{
    for (const int line : kRuledLines) {
        const auto y = static_cast<float>(line);
        board.drawSegment(0.0f, y, kLineEnd, y, colour);
    }
}

}  // namespace buffon
