// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>

namespace buffon {

// A picture's size unless asked for another, in pixels.
inline constexpr int kPlotWidth = 960;
inline constexpr int kPlotHeight = 560;

// Values from `low` up to `high`, as an axis shows them.
struct ValueRange {
    double low = 0;
    double high = 1;
};

// How the pictures are drawn, as the command line asks.
struct PictureSettings {
    // A PNG's pixels; an SVG and a PDF have the same size, a pixel being the 96th of an inch.
    int width = kPlotWidth;
    int height = kPlotHeight;
    // The axis of estimates of pi, the same in every picture; without it each picture fits its
    // axis to what it shows.
    std::optional<ValueRange> range;
    int spaceNeedles = 2000;  // needles of run 1 that --space shows
    int intervalRuns = 100;   // runs --intervals shows
};

}  // namespace buffon
