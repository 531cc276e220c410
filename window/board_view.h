// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QElapsedTimer>
#include <QFrame>
#include <QImage>

#include "experiment/scaled_board.h"

namespace buffon {

// The board on screen: a sunken two-pixel edge around a pixel board, which it shows as it is.
// The picture survives being covered because the pixels live in the board, not on screen.
// The pixel board has as many pixels as the screen gives the board, so that on a screen of
// device pixel ratio 2 each needle is a line of the screen's own pixels, not a staircase of
// doubled ones; moved to a screen of another ratio, the board draws what it shows again.
// While a run draws, the view is repainted on the spot at most once per display frame, so a
// long run visibly fills the board while the handler keeps the event loop, and with it all
// input, waiting; the final picture is painted with the labels once the handler returns.
class BoardView final : public QFrame, public Board {
    Q_OBJECT

public:
    explicit BoardView(QWidget* parent = nullptr);

    void clear() override;
    void drawSegment(float x1, float y1, float x2, float y2, PaletteIndex colour) override;
    void drawWideSegment(float x1, float y1, float x2, float y2, PaletteIndex colour,
                         int width) override;
    // The window's size as a factor of its layout: the edge and the board's pixels grow with it,
    // the picture drawn again in them. The view's own geometry is its owner's to set.
    void setScale(double scale);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void matchScreen();
    void paintEdge(QPainter& painter) const;
    void changed();

    double scale_ = 1;
    ScaledBoard board_;
    QImage image_;  // the board's pixels, shared, as Qt paints them
    bool paintDue_ = false;
    QElapsedTimer sinceRepaint_;
    int uncheckedChanges_ = 0;
};

}  // namespace buffon
