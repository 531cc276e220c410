#include "pixel_board.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace buffon {
namespace {

std::uint32_t PackedColour(PaletteIndex index)
{
    const Rgb rgb = PaletteColour(index);
    return 0xff000000u | (std::uint32_t{rgb.red} << 16) | (std::uint32_t{rgb.green} << 8) |
           std::uint32_t{rgb.blue};
}

// Far-off end points are pulled in along the segment before the integer walk, so that the
// walk stays short and cannot overflow. Only segments reaching this far off the board are
// touched, and the board itself lies deep inside the margin.
constexpr double kReach = 1 << 16;
constexpr double kLeft = -kReach;
constexpr double kRight = kBoardWidth + kReach;
constexpr double kTop = -kReach;
constexpr double kBottom = kBoardHeight + kReach;

enum Side : unsigned { kInside = 0, kBeyondLeft = 1, kBeyondRight = 2, kAbove = 4, kBelow = 8 };

unsigned SidesOutside(double x, double y)
{
    return (x < kLeft ? kBeyondLeft : x > kRight ? kBeyondRight : kInside) |
           (y < kTop ? kAbove : y > kBottom ? kBelow : kInside);
}

// Cohen-Sutherland: moves each outlying end point onto the edge it lies beyond, along the
// segment. The edge coordinate is set exactly rather than interpolated, which keeps it sound
// even for ends near the limits of a float.
bool ClipToReach(double& x1, double& y1, double& x2, double& y2)
{
    // Each pass settles one edge; rounding may call for one more.
    for (int pass = 0; pass < 8; ++pass) {
        const unsigned sides1 = SidesOutside(x1, y1);
        const unsigned sides2 = SidesOutside(x2, y2);
        if ((sides1 | sides2) == kInside) {
            return true;
        }
        if ((sides1 & sides2) != kInside) {
            return false;
        }
        const bool first = sides1 != kInside;
        const unsigned sides = first ? sides1 : sides2;
        double x = 0;
        double y = 0;
        if (sides & (kAbove | kBelow)) {
            y = (sides & kAbove) ? kTop : kBottom;
            x = x1 + (x2 - x1) * ((y - y1) / (y2 - y1));
        } else {
            x = (sides & kBeyondLeft) ? kLeft : kRight;
            y = y1 + (y2 - y1) * ((x - x1) / (x2 - x1));
        }
        (first ? x1 : x2) = x;
        (first ? y1 : y2) = y;
    }
    return false;
}

}  // namespace

PixelBoard::PixelBoard() : pixels_(std::size_t{kBoardWidth} * kBoardHeight, kWhite) {}

void PixelBoard::Clear()
{
    std::fill(pixels_.begin(), pixels_.end(), kWhite);
}

void PixelBoard::DrawSegment(float x1f, float y1f, float x2f, float y2f, PaletteIndex colour)
{
    double fx1 = x1f;
    double fy1 = y1f;
    double fx2 = x2f;
    double fy2 = y2f;
    if (!std::isfinite(fx1) || !std::isfinite(fy1) || !std::isfinite(fx2) || !std::isfinite(fy2)) {
        return;
    }
    if (std::max({std::fabs(fx1), std::fabs(fy1), std::fabs(fx2), std::fabs(fy2)}) > kReach &&
        !ClipToReach(fx1, fy1, fx2, fy2)) {
        return;
    }

    // Each drawing unit is one pixel; a point lies in the pixel whose cell contains it.
    int x = static_cast<int>(std::floor(fx1));
    int y = static_cast<int>(std::floor(fy1));
    const int xEnd = static_cast<int>(std::floor(fx2));
    const int yEnd = static_cast<int>(std::floor(fy2));
    const int dx = std::abs(xEnd - x);
    const int dy = -std::abs(yEnd - y);
    const int stepX = x < xEnd ? 1 : -1;
    const int stepY = y < yEnd ? 1 : -1;
    const std::uint32_t value = PackedColour(colour);

    int error = dx + dy;
    while (x != xEnd || y != yEnd) {
        if (static_cast<unsigned>(x) < unsigned{kBoardWidth} &&
            static_cast<unsigned>(y) < unsigned{kBoardHeight}) {
            pixels_[static_cast<std::size_t>(y) * kBoardWidth + static_cast<std::size_t>(x)] = value;
        }
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

Rgb PixelBoard::PixelAt(int x, int y) const
{
    if (x < 0 || x >= kBoardWidth || y < 0 || y >= kBoardHeight) {
        throw std::out_of_range("pixel outside the board");
    }
    const std::uint32_t word =
        pixels_[static_cast<std::size_t>(y) * kBoardWidth + static_cast<std::size_t>(x)];
    return {static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 8),
            static_cast<std::uint8_t>(word)};
}

}  // namespace buffon
