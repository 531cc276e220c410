// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <vector>

namespace buffon {

// A tick on an axis: where it stands and what it reads.
struct Tick {
    double value = 0;
    QString text;
};

// A tick spacing of 1, 2 or 5 times a power of ten giving at most `ticks` ticks over `span`.
double tickStep(double span, int ticks);

// Multiples of `step` from `low` to `high`, each written with the decimals the step needs.
std::vector<Tick> ticksOf(double low, double high, double step);

}  // namespace buffon
