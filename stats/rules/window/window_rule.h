// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <cstdint>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "experiment/run_size.h"
#include "stats/rules/rule_parts.h"
#include "stats/rules/window/window_needles.h"

namespace buffon {

// The window's own experiment: its board, its needle, its whole-unit heights and its
// deductions, thrown exactly as a click on a run button throws it.
struct WindowRule {
    static constexpr RuleTexts kTexts{
        .name = "window",
        .help = "the window's own experiment, whole-unit heights and deductions",
        .estimateHeading = "N / count",
        .runningEstimate = "needles ÷ hits so far (no deduction)",
        .noEstimate = "",
        .comparedRate = "1/pi",
        .hitRegion = "window's rule, each line a band one unit thick",
        .comparedRegion = "textbook's rule, the lines alone",
    };
    // The window's needle and lines are fixed.
    static constexpr std::array<RuleParameter<WindowRule>, 0> kParameters{};
    static constexpr bool kDeducts = true;

    // The probability that one thrown needle counts as a hit under the integer rule, for the
    // board's lines and the needle's start range, reach and angle span: about 1/pi + 1/80, less
    // a little because needles starting in the lowest band can reach below the last line's band.
    double exactRate() const;
    // Estimates are needles over the count, as the window shows them.
    std::optional<double> estimateFactor() const { return 1.0; }
    int deduction(std::int64_t needles) const { return deductionFor(needles); }
    // The textbook's rate for the window's needle and lines, from which the window's leans away.
    double comparedRate() const { return std::numbers::inv_pi; }
    std::string refusal() const { return {}; }
    WindowNeedles stream(std::uint32_t seedBits) const { return WindowNeedles(seedBits); }

    // A needle's outcome reads the angle of its vertical offset, 40 sin(angle) downwards, and
    // its start's height: heights are taken above the line a needle meets, or the nearest line.
    ThrowSpace throwSpace() const;
    // The first `count` needles of the stream `stream(seedBits)` counts.
    std::vector<Throw> firstThrows(std::uint32_t seedBits, int count) const;
    // A needle meets a line exactly when its whole-unit start and end heights lie on or either
    // side of it: from a height above the line up to the offset, when it points down; from just
    // over a unit below it, and as far again as its offset upwards, when it points up.
    HeightRange hitRegion(double angle) const;
    // A textbook needle of the same reach on the same lines meets a line it crosses or touches.
    std::optional<HeightRange> comparedRegion(double angle) const;
};

}  // namespace buffon
