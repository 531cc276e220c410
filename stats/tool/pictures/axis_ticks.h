// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <vector>

class QFont;
class QPainter;

namespace buffon {

// A tick on an axis: where it stands and what it reads, "2.5" or "1,000"; or, for a number
// written as a power of ten, "10" or "2.5×10" with the power to raise after it.
struct Tick {
    double value = 0;
    QString text;
    QString power;  // empty for a number written out
};

// A tick spacing of 1, 2 or 5 times a power of ten giving at most `ticks` ticks over `span`.
double tickStep(double span, int ticks);

// Multiples of `step` from `low` to `high`, in one style along the axis: written out, in
// groups of three, with the decimals the step needs; or, where that would take more than
// about seven digits (a million or more, a thousandth or less), as powers of ten.
std::vector<Tick> ticksOf(double low, double high, double step);

// ticksOf() at the round step giving at most `most` ticks whose labels, in `font`, stand apart
// along an axis `length` pixels long; fewer where they would run into each other.
std::vector<Tick> ticksAlong(double low, double high, int most, int length, const QFont& font);

// 1, 10, 100 and so on up to `high`, in one style as ticksOf() writes them.
std::vector<Tick> decadeTicks(double high);

// How wide a tick's label is in `font`.
int tickWidth(const QFont& font, const Tick& tick);

// A tick's label centred below the axis at `column`, or left of it at `row`: its power, if any,
// raised and smaller, so that no face need have superscript digits.
void drawTickBelow(QPainter& painter, const Tick& tick, int column, int axis);
void drawTickBeside(QPainter& painter, const Tick& tick, int axis, int row);

}  // namespace buffon
