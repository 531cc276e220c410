#pragma once

#include "board.h"
#include "random_source.h"

namespace buffon {

enum class Outcome : bool { Miss = false, Hit = true };

// One thrown needle, its fields in the order they are computed. The precisions are part of
// the experiment: start coordinates are single, end coordinates double.
struct Needle {
    float x1 = 0;
    float y1 = 0;
    double x2 = 0;
    double y2 = 0;
    float X1 = 0;
    float Y1 = 0;
    double X2 = 0;
    double Y2 = 0;
    Outcome outcome = Outcome::Miss;
};

inline constexpr float kPositionSpan = 400.0f;
inline constexpr float kPositionOffset = 40.0f;
inline constexpr double kAngleSpan = 6.28318526;
inline constexpr double kNeedleReach = 40.0;

// Takes exactly four draws: start x, start y, the angle of the horizontal offset and a
// fresh angle for the vertical offset.
Needle ThrowNeedle(RandomSource& random);

// The integer hit rule on the truncated start and end heights.
Outcome ClassifyNeedle(float Y1, double Y2);

// Blue for a hit, green for a miss, from (X1, Y1) to (X2, Y2).
void DrawNeedle(Board& board, const Needle& needle);

}  // namespace buffon
