#include "experiment/board.h"

namespace buffon {

void ruleBoard(Board& board, PaletteIndex colour)
{
    for (const int line : kRuledLines) {
        const auto y = static_cast<float>(line);
        board.drawSegment(0.0f, y, kLineEnd, y, colour);
    }
}

}  // namespace buffon
