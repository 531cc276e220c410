// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <vector>

#include "experiment/board.h"
#include "experiment/pixel_board.h"

namespace buffon {

// A board in a screen's own pixels that keeps what it drew since the last clear, so that on a
// screen of another ratio it can draw the same picture again in that screen's pixels.
class ScaledBoard final : public Board {
public:
    void clear() override;
    void drawSegment(float x1, float y1, float x2, float y2, PaletteIndex colour) override;
    void drawWideSegment(float x1, float y1, float x2, float y2, PaletteIndex colour,
                         int width) override;

    // Draws the picture again at this size and scale, unless the board already has them;
    // whether it did.
    bool resize(int width, int height, double scale);

    const PixelBoard& pixels() const { return pixels_; }

private:
    struct Segment {
        float x1;
        float y1;
        float x2;
        float y2;
        PaletteIndex colour;
        int width;
    };

    PixelBoard pixels_;
    std::vector<Segment> drawn_;
};

}  // namespace buffon
