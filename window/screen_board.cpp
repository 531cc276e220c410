#include "screen_board.h"

#include "board_view.h"

namespace buffon {
namespace {
constexpr qint64 kFrameNanoseconds = 16'666'667;
// Reading the clock after every needle would cost more than drawing it.
constexpr int kChangesPerClockCheck = 64;
}  // namespace

ScreenBoard::ScreenBoard(PixelBoard& pixels, BoardView& view) : pixels_(pixels), view_(view)
{
    sinceRepaint_.start();
}

void ScreenBoard::Clear()
{
    pixels_.Clear();
    changed();
}

void ScreenBoard::DrawSegment(float x1, float y1, float x2, float y2, PaletteIndex colour)
{
    pixels_.DrawSegment(x1, y1, x2, y2, colour);
    changed();
}

void ScreenBoard::changed()
{
    // Whatever happens below, the event loop shows the final picture with the labels.
    view_.markChanged();
    if (++uncheckedChanges_ < kChangesPerClockCheck) {
        return;
    }
    uncheckedChanges_ = 0;
    if (sinceRepaint_.nsecsElapsed() >= kFrameNanoseconds) {
        if (view_.isVisible()) {
            view_.repaint();
        }
        sinceRepaint_.restart();
    }
}

}  // namespace buffon
