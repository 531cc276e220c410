// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "window/board_view.h"

#include <QPainter>
#include <tuple>

#include "design/board_pixels.h"
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

void BoardView::matchScreen()
{
    const double ratio = boardRatio(devicePixelRatioF());
    const QPoint inWindow = mapTo(window(), contentsRect().topLeft());
    const int width = devicePixels(inWindow.x(), kBoardWidth, ratio);
    const int height = devicePixels(inWindow.y(), kBoardHeight, ratio);
    if (!board_.resize(width, height, ratio) && !image_.isNull()) {
        return;
    }
    image_ = QImage(reinterpret_cast<const uchar*>(board_.pixels().data()), width, height,
                    width * 4, QImage::Format_RGB32);
    image_.setDevicePixelRatio(ratio);
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

// The sunken edge, each of its two rings one pixel of the layout wide at any device pixel
// ratio: Qt's own edge is drawn with lines one device pixel wide, which leaves a gap inside it
// on a scaled screen.
void BoardView::paintEdge(QPainter& painter) const
{
    const QRect outer = rect();
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    for (const auto& [ring, topLeft, bottomRight] :
         {std::tuple{outer, QPalette::Dark, QPalette::Light},
          std::tuple{inner, QPalette::Shadow, QPalette::Midlight}}) {
        const QColor lit = palette().color(bottomRight);
        painter.fillRect(ring.left(), ring.bottom(), ring.width(), 1, lit);
        painter.fillRect(ring.right(), ring.top(), 1, ring.height(), lit);
        const QColor shaded = palette().color(topLeft);
        painter.fillRect(ring.left(), ring.top(), ring.width() - 1, 1, shaded);
        painter.fillRect(ring.left(), ring.top(), 1, ring.height() - 1, shaded);
    }
}

}  // namespace buffon
