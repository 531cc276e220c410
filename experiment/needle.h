// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cmath>

#include "experiment/board.h"

namespace buffon {

enum class Outcome : bool { Miss = false, Hit = true };

// One thrown needle, its fields in the order they are computed. The precisions are part of
// the experiment: start coordinates are single, end coordinates double, and the whole
// drawing units keep the precision of the coordinate they come from.
struct Needle {
    float startX = 0;
    float startY = 0;
    double endX = 0;
    double endY = 0;
    float startPixelX = 0;
    float startPixelY = 0;
    double endPixelX = 0;
    double endPixelY = 0;
    Outcome outcome = Outcome::Miss;
};

inline constexpr float kPositionSpan = 400.0f;
inline constexpr float kPositionOffset = 40.0f;
inline constexpr double kAngleSpan = 6.28318526;
inline constexpr double kNeedleReach = 40.0;

// A start coordinate from a draw, formed in double precision and stored as a float.
inline float startCoordinate(float draw)
{
    return static_cast<float>(static_cast<double>(draw) * kPositionSpan + kPositionOffset);
}

inline double angleOf(float draw)
{
    return static_cast<double>(draw) * kAngleSpan;
}

// The integer hit rule on the truncated start and end heights.
Outcome classifyNeedle(float startPixelY, double endPixelY);

// Takes exactly four draws: start x, start y, the angle of the horizontal offset and a
// fresh angle for the vertical offset.
template <typename Random>
Needle throwNeedle(Random& random)
{
    Needle needle;
    needle.startX = startCoordinate(random.nextValue());
    needle.startY = startCoordinate(random.nextValue());
    needle.endX = needle.startX + std::cos(angleOf(random.nextValue())) * kNeedleReach;
    needle.endY = needle.startY + std::sin(angleOf(random.nextValue())) * kNeedleReach;
    needle.startPixelX = wholeUnits(needle.startX);
    needle.startPixelY = wholeUnits(needle.startY);
    needle.endPixelX = wholeUnits(needle.endX);
    needle.endPixelY = wholeUnits(needle.endY);
    needle.outcome = classifyNeedle(needle.startPixelY, needle.endPixelY);
    return needle;
}

// The outcome from the only two draws it reads: throwNeedle's second and fourth.
inline Outcome verticalOutcome(float startYDraw, float angleDraw)
{
    const float startY = startCoordinate(startYDraw);
    const double endY = startY + std::sin(angleOf(angleDraw)) * kNeedleReach;
    return classifyNeedle(wholeUnits(startY), wholeUnits(endY));
}

// Blue for a hit, green for a miss, between the whole drawing units of the two ends.
void drawNeedle(Board& board, const Needle& needle);

}  // namespace buffon
