// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "experiment/needle.h"

namespace buffon {
namespace {

bool touchesLine(double startPixelY, double endPixelY)
{
    for (const int line : kRuledLines) {
        if (startPixelY == line || endPixelY == line) {
            return true;
        }
    }
    return false;
}

}  // namespace

Outcome classifyNeedle(float startPixelY, double endPixelY)
{
    const double start = startPixelY;
    const double end = endPixelY;
    // Crossing a line strictly is tested before touching one; both count as a hit.
    if (start > end) {
        for (const int line : kRuledLines) {
            if (start > line && end < line) {
                return Outcome::Hit;
            }
        }
    } else if (start < end) {
        for (const int line : kRuledLines) {
            if (start < line && end > line) {
                return Outcome::Hit;
            }
        }
    }
    return touchesLine(start, end) ? Outcome::Hit : Outcome::Miss;
}

void drawNeedle(Board& board, const Needle& needle)
{
    const PaletteIndex colour =
        needle.outcome == Outcome::Hit ? PaletteIndex::LightBlue : PaletteIndex::LightGreen;
    board.drawSegment(needle.startPixelX, needle.startPixelY, static_cast<float>(needle.endPixelX),
                      static_cast<float>(needle.endPixelY), colour);
}

}  // namespace buffon
