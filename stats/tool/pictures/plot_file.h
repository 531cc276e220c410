// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>
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

// The title, centred along the top.
void drawPlotTitle(QPainter& painter, const QString& title);
// What the horizontal axis reads, centred along the bottom.
void drawBottomLabel(QPainter& painter, const QString& label);
// What the vertical axis reads, turned to run up the left edge centred on `centreY`.
void drawSideLabel(QPainter& painter, int x, int centreY, const QString& label);

// SVG and PDF scale to any slide, their text kept as text; PNG is a picture of the plot's pixels.
enum class PictureFormat { Png, Svg, Pdf };

// A plot as the bytes of its file: `paint` draws it on a white ground of the plot's size. Throws
// std::runtime_error, with the reason, if it cannot be drawn.
std::string plotFile(PictureFormat format, const QString& title,
                     const std::function<void(QPainter&)>& paint);

}  // namespace buffon
