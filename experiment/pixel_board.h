// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <vector>

#include "experiment/board.h"

namespace buffon {

// An in-memory board: kBoardWidth x kBoardHeight pixels on a white ground, drawn with a
// one-pixel aliased pen. Segments are clipped to the surface.
class PixelBoard final : public Board {
public:
    static constexpr std::uint32_t kWhite = 0xffffffffu;

    PixelBoard();

    void clear() override;
    // Like most raster APIs, the end point itself is not painted: a ruling from x = 0 to 480
    // covers pixels 0 to 479, and a segment of zero length paints nothing.
    void drawSegment(float x1, float y1, float x2, float y2, PaletteIndex colour) override;

    Rgb pixelAt(int x, int y) const;

    // Row-major 0xffRRGGBB words, kBoardWidth per row: the layout QImage::Format_RGB32 reads.
    const std::uint32_t* data() const { return pixels_.data(); }

private:
    std::vector<std::uint32_t> pixels_;
};

}  // namespace buffon
