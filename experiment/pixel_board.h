// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <vector>

#include "experiment/board.h"

namespace buffon {

// An in-memory board on a white ground, drawn with a one-pixel aliased pen. Its scale is the
// number of pixels to a drawing unit, so that a screen of that device pixel ratio shows each
// pixel as one of its own: needles as fine as the screen allows, in the same places. Segments
// are clipped to the surface.
class PixelBoard final : public Board {
public:
    static constexpr std::uint32_t kWhite = 0xffffffffu;

    PixelBoard() : PixelBoard(kBoardWidth, kBoardHeight, 1.0) {}
    PixelBoard(int width, int height, double scale);

    void clear() override;
    // Like most raster APIs, the end point itself is not painted: at scale 1 a ruling from x = 0
    // to 480 covers pixels 0 to 479, and a segment of zero length paints nothing.
    void drawSegment(float x1, float y1, float x2, float y2, PaletteIndex colour) override;
    // As wide as asked across the segment's longer axis: `width` pixels side by side, each
    // walked as a one-pixel segment is.
    void drawWideSegment(float x1, float y1, float x2, float y2, PaletteIndex colour,
                         int width) override;

    Rgb pixelAt(int x, int y) const;
    int width() const { return width_; }
    int height() const { return height_; }
    double scale() const { return scale_; }

    // Row-major 0xffRRGGBB words, width() per row: the layout QImage::Format_RGB32 reads.
    const std::uint32_t* data() const { return pixels_.data(); }

private:
    int width_;
    int height_;
    double scale_;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace buffon
