// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

namespace buffon {

// How many device pixels a span of the window covers at a device pixel ratio, its ends rounded
// to the nearest pixel as the window's other contents are (for spans right of and below the
// window's corner).
constexpr int devicePixels(int start, int length, double ratio)
{
    const auto nearest = [](double position) {
        return static_cast<int>(position + 0.5);
    };
    return nearest((start + length) * ratio) - nearest(start * ratio);
}

// The board's own pixels are made for ratios up to 4: denser screens are not made, and a scale
// factor of thousands (or not a number) would ask for a board of terabytes. Beyond it the
// board's picture is scaled up as any picture is.
inline constexpr double kDensestRatio = 4;

constexpr double boardRatio(double screenRatio)
{
    return screenRatio > 0 && screenRatio <= kDensestRatio ? screenRatio
           : screenRatio > kDensestRatio                   ? kDensestRatio
                                                           : 1.0;
}

struct PixelSize {
    int width = 0;
    int height = 0;
};

// The board's drawing area in device pixels at a board ratio, where the window lays it out.
PixelSize boardPixels(double ratio);

}  // namespace buffon
