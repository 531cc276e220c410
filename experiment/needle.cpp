#include "needle.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace buffon {
namespace {

constexpr std::array<int, kLineCount> kLines{80, 160, 240, 320, 400};

float StartCoordinate(float draw)
{
    return static_cast<float>(static_cast<double>(draw) * kPositionSpan + kPositionOffset);
}

// floor() for the needle's coordinates, which are never negative, so that truncation agrees
// with it and needs no library call.
template <typename Real>
Real WholePart(Real value)
{
    return static_cast<Real>(static_cast<std::int32_t>(value));
}

bool TouchesLine(double Y1, double Y2)
{
    for (const int line : kLines) {
        if (Y1 == line || Y2 == line) {
            return true;
        }
    }
    return false;
}

}  // namespace

Needle ThrowNeedle(RandomSource& random)
{
    Needle needle;
    needle.x1 = StartCoordinate(random.NextValue());
    needle.y1 = StartCoordinate(random.NextValue());
    const double horizontalAngle = static_cast<double>(random.NextValue()) * kAngleSpan;
    needle.x2 = needle.x1 + std::cos(horizontalAngle) * kNeedleReach;
    const double verticalAngle = static_cast<double>(random.NextValue()) * kAngleSpan;
    needle.y2 = needle.y1 + std::sin(verticalAngle) * kNeedleReach;
    needle.X1 = WholePart(needle.x1);
    needle.Y1 = WholePart(needle.y1);
    needle.X2 = WholePart(needle.x2);
    needle.Y2 = WholePart(needle.y2);
    needle.outcome = ClassifyNeedle(needle.Y1, needle.Y2);
    return needle;
}

Outcome ClassifyNeedle(float Y1, double Y2)
{
    const double start = Y1;
    // Crossing a line strictly is tested before touching one; both count as a hit.
    if (start > Y2) {
        for (const int line : kLines) {
            if (start > line && Y2 < line) {
                return Outcome::Hit;
            }
        }
        return TouchesLine(start, Y2) ? Outcome::Hit : Outcome::Miss;
    }
    if (start < Y2) {
        for (const int line : kLines) {
            if (start < line && Y2 > line) {
                return Outcome::Hit;
            }
        }
        return TouchesLine(start, Y2) ? Outcome::Hit : Outcome::Miss;
    }
    return TouchesLine(start, start) ? Outcome::Hit : Outcome::Miss;
}

void DrawNeedle(Board& board, const Needle& needle)
{
    const PaletteIndex colour =
        needle.outcome == Outcome::Hit ? PaletteIndex::LightBlue : PaletteIndex::LightGreen;
    board.DrawSegment(needle.X1, needle.Y1, static_cast<float>(needle.X2),
                      static_cast<float>(needle.Y2), colour);
}

}  // namespace buffon
