// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

namespace buffon {

// Buffon's experiment as textbooks state it, apart from the window's board: needles of length
// `length` fall on a plane ruled with endless parallel lines `spacing` apart, at a place and an
// angle uniform over the plane, and a needle is a hit when it crosses or touches a line. Both
// are positive, in any one unit.
struct GeometricRule {
    double length = 40;
    double spacing = 80;
};

// The probability of a hit: 2L / (pi D) for a needle no longer than the spacing; a longer one
// can cross several lines but counts once, so (2/pi) (arccos(D/L) + (L/D) (1 - sqrt(1 - D²/L²))).
double exactRate(const GeometricRule& rule);

}  // namespace buffon
