// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRect>
#include <QRgb>
#include <QSize>
#include <QString>
#include <functional>
#include <string>

#include "stats/tool/pictures/picture_settings.h"

class QPainter;

namespace buffon {

// What every plot of the companion shares: the colour of pi, its face, its title and its axis
// labels.
inline constexpr QRgb kPiColour = 0xffd01010;

// The window's metric-compatible Japanese face where it is installed, else DejaVu Sans; both
// have pi and the other signs the plots use.
QFont plotFont(int pixelSize, bool bold = false);

inline constexpr QSize kPlotSize(kPlotWidth, kPlotHeight);

// The part of a plot of `size` where its data is drawn, `left` and `top` pixels in, with room
// on the right for labels and below for the axis and its name.
inline QRect plotArea(QSize size, int left, int top)
{
    return {left, top, size.width() - left - 40, size.height() - top - 60};
}

// Whether the fonts at hand draw the plots' letters, digits and pi; where none do, every label
// is a row of boxes.
bool plotFontsDrawText();

// The title, centred along the top.
void drawPlotTitle(QPainter& painter, const QString& title);
// What the horizontal axis reads, centred along the bottom.
void drawBottomLabel(QPainter& painter, const QString& label);
// What the vertical axis reads, turned to run up the left edge centred on `centreY`.
void drawSideLabel(QPainter& painter, int x, int centreY, const QString& label);

// Which way a value beyond an axis lies.
enum class Beyond { Left, Right, Up, Down };

// The mark of a value beyond an axis: a small triangle, its tip at `tip` on the axis's edge,
// pointing the way the value lies.
void drawBeyondMark(QPainter& painter, QPointF tip, Beyond way, const QColor& colour);

// SVG and PDF scale to any slide, their text kept as text; PNG is a picture of the plot's pixels.
enum class PictureFormat { Png, Svg, Pdf };

// The size a plot is laid out in for a picture of `pixels`: 960 x 560 or more, of the picture's
// shape, and scaled to fill it, so that its text grows with the picture.
QSize plotSizeFor(QSize pixels);

// A plot as the bytes of its file, `pixels` large: `paint` draws it, in the coordinates of
// plotSizeFor(pixels), on a white ground. Throws std::runtime_error, with the reason, if it
// cannot be drawn.
std::string plotFile(PictureFormat format, QSize pixels, const QString& title,
                     const std::function<void(QPainter&)>& paint);

}  // namespace buffon
