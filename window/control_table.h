// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <string_view>

#include "design/controls.h"

namespace buffon {

// The window's layout as Qt takes it.

// The control's place, every length times the window's scale, rounded to whole pixels.
QRect controlGeometry(const ControlDesign& control, double scale = 1);

// What the control shows, as a label's or a button's text.
QString shownText(const ControlDesign& control);

QString utf8Text(std::string_view text);

// The window's fonts at a pixel size, which keeps the fixed layout intact at any screen
// resolution.
QFont windowFont(int pixelSize, bool bold);

}  // namespace buffon
