// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <cstdint>
#include <numbers>
#include <optional>
#include <string>

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
};

}  // namespace buffon
