// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "experiment/scaled_board.h"

namespace buffon {

void ScaledBoard::clear()
{
    drawn_.clear();
    pixels_.clear();
}

void ScaledBoard::drawSegment(float x1, float y1, float x2, float y2, PaletteIndex colour)
{
    drawWideSegment(x1, y1, x2, y2, colour, 1);
}

void ScaledBoard::drawWideSegment(float x1, float y1, float x2, float y2, PaletteIndex colour,
                                  int width)
{
    drawn_.push_back({x1, y1, x2, y2, colour, width});
    pixels_.drawWideSegment(x1, y1, x2, y2, colour, width);
}

bool ScaledBoard::resize(int width, int height, double scale)
{
    if (pixels_.width() == width && pixels_.height() == height && pixels_.scale() == scale) {
        return false;
    }
    pixels_ = PixelBoard(width, height, scale);
    for (const Segment& segment : drawn_) {
        pixels_.drawWideSegment(segment.x1, segment.y1, segment.x2, segment.y2, segment.colour,
                                segment.width);
    }
    return true;
}

}  // namespace buffon
