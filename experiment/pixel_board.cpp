// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "experiment/pixel_board.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <stdexcept>

namespace buffon {
namespace {

std::uint32_t packedColour(PaletteIndex index)
{
    const Rgb rgb = paletteColour(index);
    return 0xff000000u | (std::uint32_t{rgb.red} << 16) | (std::uint32_t{rgb.green} << 8) |
           std::uint32_t{rgb.blue};
}

// Far-off end points are pulled in along the segment before the walk, so that it stays short
// and its fixed-point coordinates cannot overflow. Only segments reaching this far off the board
// are touched, and the board itself lies deep inside the margin.
constexpr double kReach = 1 << 16;

enum Side : unsigned { kInside = 0, kBeyondLeft = 1, kBeyondRight = 2, kAbove = 4, kBelow = 8 };

struct Margin {
    double left = -kReach;
    double top = -kReach;
    double right;
    double bottom;

    unsigned sidesOutside(double x, double y) const
    {
        return (x < left    ? kBeyondLeft
                : x > right ? kBeyondRight
                            : kInside) |
               (y < top      ? kAbove
                : y > bottom ? kBelow
                             : kInside);
    }
};

// Cohen-Sutherland: moves each outlying end point onto the edge it lies beyond, along the
// segment. The edge coordinate is set exactly rather than interpolated, which keeps it sound
// even for ends near the limits of a float.
bool clipToReach(const Margin& margin, double& x1, double& y1, double& x2, double& y2)
{
    // Each pass settles one edge; rounding may call for one more.
    for (int pass = 0; pass < 8; ++pass) {
        const unsigned sides1 = margin.sidesOutside(x1, y1);
        const unsigned sides2 = margin.sidesOutside(x2, y2);
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
            y = (sides & kAbove) ? margin.top : margin.bottom;
            x = x1 + (x2 - x1) * ((y - y1) / (y2 - y1));
        } else {
            x = (sides & kBeyondLeft) ? margin.left : margin.right;
            y = y1 + (y2 - y1) * ((x - x1) / (x2 - x1));
        }
        (first ? x1 : x2) = x;
        (first ? y1 : y2) = y;
    }
    return false;
}

bool inside(int x, int y, int width, int height)
{
    return static_cast<unsigned>(x) < static_cast<unsigned>(width) &&
           static_cast<unsigned>(y) < static_cast<unsigned>(height);
}

// Walks from (x, y) towards (xEnd, yEnd), one pixel per step along the longer axis, stopping
// before the end pixel. Both coordinates advance in fixed point with 32 fraction bits, starting
// from the middle of the first pixel, so each pixel is the nearest to the true line and the loop
// has no branch that depends on the slope. Both variants visit the same pixels; only the
// checked one may leave the board, and it never writes off it.
template <bool kChecked>
void walk(std::uint32_t* pixels, int width, int height, int x, int y, int xEnd, int yEnd,
          std::uint32_t value)
{
    const std::int64_t dx = xEnd - x;
    const std::int64_t dy = yEnd - y;
    const std::int64_t steps = std::max(std::abs(dx), std::abs(dy));
    if (steps == 0) {
        return;
    }
    constexpr int kFraction = 32;
    constexpr std::int64_t kHalf = std::int64_t{1} << (kFraction - 1);
    std::int64_t fixedX = (std::int64_t{x} << kFraction) + kHalf;
    std::int64_t fixedY = (std::int64_t{y} << kFraction) + kHalf;
    // The longer axis steps by exactly one pixel; only the shorter one needs a division.
    constexpr std::int64_t kOne = std::int64_t{1} << kFraction;
    const bool acrossMajor = steps == std::abs(dx);
    const std::int64_t minorStep = (acrossMajor ? dy : dx) * kOne / steps;
    const std::int64_t stepX = acrossMajor ? (dx < 0 ? -kOne : kOne) : minorStep;
    const std::int64_t stepY = acrossMajor ? minorStep : (dy < 0 ? -kOne : kOne);
    for (std::int64_t i = 0; i < steps; ++i) {
        const int px = static_cast<int>(fixedX >> kFraction);
        const int py = static_cast<int>(fixedY >> kFraction);
        if (!kChecked || inside(px, py, width, height)) {
            pixels[std::ptrdiff_t{py} * width + px] = value;
        }
        fixedX += stepX;
        fixedY += stepY;
    }
}

}  // namespace

PixelBoard::PixelBoard(int width, int height, double scale)
    : width_(width),
      height_(height),
      scale_(scale),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kWhite)
{
}

void PixelBoard::clear()
{
    std::fill(pixels_.begin(), pixels_.end(), kWhite);
}

void PixelBoard::drawSegment(float x1, float y1, float x2, float y2, PaletteIndex colour)
{
    drawWideSegment(x1, y1, x2, y2, colour, 1);
}

void PixelBoard::drawWideSegment(float x1f, float y1f, float x2f, float y2f, PaletteIndex colour,
                                 int width)
{
    double fx1 = x1f * scale_;
    double fy1 = y1f * scale_;
    double fx2 = x2f * scale_;
    double fy2 = y2f * scale_;
    if (!std::isfinite(fx1) || !std::isfinite(fy1) || !std::isfinite(fx2) || !std::isfinite(fy2)) {
        return;
    }
    const Margin margin{.right = width_ + kReach, .bottom = height_ + kReach};
    if ((margin.sidesOutside(fx1, fy1) | margin.sidesOutside(fx2, fy2)) != kInside &&
        !clipToReach(margin, fx1, fy1, fx2, fy2)) {
        return;
    }

    // A point lies in the pixel whose cell contains it.
    const int x1 = static_cast<int>(wholeUnits(fx1));
    const int y1 = static_cast<int>(wholeUnits(fy1));
    const int x2 = static_cast<int>(wholeUnits(fx2));
    const int y2 = static_cast<int>(wholeUnits(fy2));
    const std::uint32_t value = packedColour(colour);
    // A segment with both ends on the board lies wholly on it: no pixel needs a check.
    if (width == 1 && inside(x1, y1, width_, height_) && inside(x2, y2, width_, height_)) {
        walk<false>(pixels_.data(), width_, height_, x1, y1, x2, y2, value);
        return;
    }
    const bool acrossMajor = std::abs(x2 - x1) >= std::abs(y2 - y1);
    for (int offset = -(width - 1) / 2; offset <= width / 2; ++offset) {
        const int dx = acrossMajor ? 0 : offset;
        const int dy = acrossMajor ? offset : 0;
        walk<true>(pixels_.data(), width_, height_, x1 + dx, y1 + dy, x2 + dx, y2 + dy, value);
    }
}

Rgb PixelBoard::pixelAt(int x, int y) const
{
    if (!inside(x, y, width_, height_)) {
        throw std::out_of_range("pixel outside the board");
    }
    const std::uint32_t word =
        pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                static_cast<std::size_t>(x)];
    return {static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 8),
            static_cast<std::uint8_t>(word)};
}

}  // namespace buffon
