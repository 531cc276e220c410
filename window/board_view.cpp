// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "window/board_view.h"

#include <QPainter>

namespace buffon {
namespace {
constexpr qint64 kFrameNanoseconds = 16'666'667;
// Reading the clock after every needle would cost more than drawing it.
constexpr int kChangesPerClockCheck = 64;
}  // namespace

BoardView::BoardView(QWidget* parent)
    : QFrame(parent),
      image_(reinterpret_cast<const uchar*>(pixels_.data()), kBoardWidth, kBoardHeight,
             kBoardWidth * 4, QImage::Format_RGB32)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setAttribute(Qt::WA_OpaquePaintEvent);
    sinceRepaint_.start();
}

void BoardView::clear()
{
    pixels_.clear();
    changed();
}

void BoardView::drawSegment(float x1, float y1, float x2, float y2, PaletteIndex colour)
{
    pixels_.drawSegment(x1, y1, x2, y2, colour);
    changed();
}

void BoardView::changed()
{
    // Whatever happens below, the event loop shows the final picture with the labels.
    if (!paintDue_) {
        paintDue_ = true;
        update();
    }
    if (++uncheckedChanges_ < kChangesPerClockCheck) {
        return;
    }
    uncheckedChanges_ = 0;
    if (sinceRepaint_.nsecsElapsed() >= kFrameNanoseconds) {
        if (isVisible()) {
            repaint();
        }
        sinceRepaint_.restart();
    }
}

void BoardView::paintEvent(QPaintEvent* event)
{
    paintDue_ = false;
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.drawImage(contentsRect().topLeft(), image_);
}

}  // namespace buffon
