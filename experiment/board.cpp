#include "board.h"

namespace buffon {

void ClearBoard(Board& board)
{
    board.Clear();
}

void RuleBoard(Board& board, PaletteIndex colour)
{
    for (int k = 1; k <= kLineCount; ++k) {
        const auto y = static_cast<float>(kLineSpacing * k);
        board.DrawSegment(0.0f, y, kLineEnd, y, colour);
    }
}

}  // namespace buffon
