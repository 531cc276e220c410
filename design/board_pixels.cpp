// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "design/board_pixels.h"

#include "design/controls.h"

namespace buffon {

PixelSize boardPixels(double ratio)
{
    const Place area = boardArea();
    return {devicePixels(area.left, area.width, ratio), devicePixels(area.top, area.height, ratio)};
}

}  // namespace buffon
