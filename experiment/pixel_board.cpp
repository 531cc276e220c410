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

bool ClipToReach(double& x1, double& y1, double& x2, double& y2)
{
    double t0 = 0.0;
    double t1 = 1.0;
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {x1 + kReach, kReach + kBoardWidth - x1, y1 + kReach,
                        kReach + kBoardHeight - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
    }
    if (t0 > t1) {
        return false;
    }
    const double sx = x1;
    const double sy = y1;
    x1 = sx + t0 * dx;
    y1 = sy + t0 * dy;
    x2 = sx + t1 * dx;
    y2 = sy + t1 * dy;
    return true;
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
