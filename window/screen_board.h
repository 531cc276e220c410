#pragma once

#include <QElapsedTimer>

#include "pixel_board.h"

namespace buffon {

class BoardView;

// Draws on the pixel board and shows the result on screen as it grows: the view is repainted
// on the spot at most once per display frame, so a long run visibly fills the board while the
// handler keeps the event loop, and with it all input, waiting.
class ScreenBoard final : public Board {
public:
    ScreenBoard(PixelBoard& pixels, BoardView& view);

    void Clear() override;
    void DrawSegment(float x1, float y1, float x2, float y2, PaletteIndex colour) override;

private:
    void changed();

    PixelBoard& pixels_;
    BoardView& view_;
    QElapsedTimer sinceRepaint_;
    int uncheckedChanges_ = 0;
};

}  // namespace buffon
