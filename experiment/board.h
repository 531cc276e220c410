#pragma once

#include "palette.h"

namespace buffon {

// Board geometry in drawing units of one pixel, origin top-left, y downwards.
inline constexpr int kBoardWidth = 523;
inline constexpr int kBoardHeight = 411;
inline constexpr int kLineSpacing = 80;
inline constexpr int kLineCount = 5;
inline constexpr float kLineEnd = 480.0f;

// The drawing surface the experiment paints on. Implementations clip to their own area.
class Board {
public:
    virtual ~Board() = default;

    virtual void Clear() = 0;
    virtual void DrawSegment(float x1, float y1, float x2, float y2, PaletteIndex colour) = 0;
};

void ClearBoard(Board& board);

// Draws the five ruled lines over whatever the board shows; it does not clear first.
void RuleBoard(Board& board, PaletteIndex colour);

}  // namespace buffon
