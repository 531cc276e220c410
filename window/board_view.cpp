// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "window/board_view.h"

#include <QPainter>
#include <tuple>

#include "design/board_pixels.h"
#include "design/controls.h"
#include "window/vector_state.h"

namespace buffon {
namespace {
constexpr qint64 kFrameNanoseconds = 16'666'667;
// Reading the clock after every needle would cost more than drawing it.
constexpr int kChangesPerClockCheck = 64;
}  // namespace

BoardView::BoardView(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setAttribute(Qt::WA_OpaquePaintEvent);
    matchScreen();
    sinceRepaint_.start();
}

void BoardView::setScale(double scale)
{
    scale_ = scale;
    // A frame's margins are its edge.
    const int margin = qRound(kBoardEdge * scale_);
    setContentsMargins(margin, margin, margin, margin);
    matchScreen();
    update();
}

void BoardView::matchScreen()
{
    const double ratio = boardRatio(devicePixelRatioF() * scale_);
    // Where the layout puts the board, in the layout's own pixels.
    const QPoint inWindow = mapTo(window(), contentsRect().topLeft());
    const int width = devicePixels(qRound(inWindow.x() / scale_), kBoardWidth, ratio);
    const int height = devicePixels(qRound(inWindow.y() / scale_), kBoardHeight, ratio);
    if (!board_.resize(width, height, ratio) && !image_.isNull()) {
        return;
    }
    image_ = QImage(reinterpret_cast<const uchar*>(board_.pixels().data()), width, height,
                    width * 4, QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio / scale_);
}

void BoardView::clear()
{
    board_.clear();
    matchScreen();
    changed();
}

void BoardView::drawSegment(float x1, float y1, float x2, float y2, PaletteIndex colour)
{
    board_.drawSegment(x1, y1, x2, y2, colour);
    changed();
}

void BoardView::drawWideSegment(float x1, float y1, float x2, float y2, PaletteIndex colour,
                                int width)
{
    board_.drawWideSegment(x1, y1, x2, y2, colour, width);
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
            releaseWideVectorState();
        }
        sinceRepaint_.restart();
    }
}

void BoardView::paintEvent(QPaintEvent*)
{
    paintDue_ = false;
    matchScreen();
    QPainter painter(this);
    paintEdge(painter);
    // Pixel for pixel: the picture's corner on the device pixel nearest the inner area's.
    const QTransform toDevice = painter.deviceTransform();
    const QPointF corner = toDevice.map(QPointF(contentsRect().topLeft()));
    const QPointF onPixel(qRound(corner.x()), qRound(corner.y()));
    painter.drawImage(toDevice.inverted().map(onPixel), image_);
}

// The sunken edge, each of its two rings one pixel of the layout wide (times the window's
// scale) at any device pixel ratio: Qt's own edge is drawn with lines one device pixel wide,
// which leaves a gap inside it on a scaled screen.
void BoardView::paintEdge(QPainter& painter) const
{
    const double ring = contentsMargins().left() / 2.0;
    const QRectF outer = rect();
    const QRectF inner = outer.adjusted(ring, ring, -ring, -ring);
    for (const auto& [edge, topLeft, bottomRight] :
         {std::tuple{outer, QPalette::Dark, QPalette::Light},
          std::tuple{inner, QPalette::Shadow, QPalette::Midlight}}) {
        const QColor lit = palette().color(bottomRight);
        painter.fillRect(QRectF(edge.left(), edge.bottom() - ring, edge.width(), ring), lit);
        painter.fillRect(QRectF(edge.right() - ring, edge.top(), ring, edge.height()), lit);
        const QColor shaded = palette().color(topLeft);
        painter.fillRect(QRectF(edge.left(), edge.top(), edge.width() - ring, ring), shaded);
        painter.fillRect(QRectF(edge.left(), edge.top(), ring, edge.height() - ring), shaded);
    }
}

}  // namespace buffon
