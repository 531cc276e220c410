// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

namespace buffon {

// The probability that one thrown needle counts as a hit under the integer rule, for the
// board's lines and the needle's start range, reach and angle span: about 1/pi + 1/80, less a
// little because needles starting in the lowest band can reach below the last line's band.
double exactHitRate();

}  // namespace buffon
