// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "stats/rules/geometric/geometric_needles.h"
#include "stats/rules/rule_parts.h"

namespace buffon {

// Buffon's experiment as textbooks state it, apart from the window's board: needles of length
// `length` fall on a plane ruled with endless parallel lines `spacing` apart, at a place and an
// angle uniform over the plane, and a needle is a hit when it crosses or touches a line. Both
// are positive, in any one unit.
struct GeometricRule {
    double length = 40;
    double spacing = 80;

    static constexpr RuleTexts kTexts{
        .name = "geometric",
        .help =
            "the textbook's, needles of --length on endless lines --spacing apart, places and "
            "angles continuous",
        .estimateHeading = "2 L N / (D hits)",
        .runningEstimate = "2L·needles ÷ (D·hits) so far",
        .noEstimate =
            "A needle longer than the spacing can cross several lines, so no simple\n"
            "estimate of pi exists: compare the hit fraction with the exact rate.\n",
        .comparedRate = "rate of the window's rule",
        .hitRegion = "needles that cross or touch a line",
        .comparedRegion = "",
    };
    static constexpr std::array<RuleParameter<GeometricRule>, 2> kParameters{{
        {"length", "L", "Needle length of the geometric rule (default 40, the window's reach).",
         &GeometricRule::length},
        {"spacing", "D", "Line spacing of the geometric rule (default 80, the window's).",
         &GeometricRule::spacing},
    }};
    static constexpr bool kDeducts = false;

    // The probability of a hit: 2L / (pi D) for a needle no longer than the spacing; a longer
    // one can cross several lines but counts once, so
    // (2/pi) (arccos(D/L) + (L/D) (1 - sqrt(1 - D²/L²))).
    double exactRate() const;
    // 2L/D: 2L N / (D hits) estimates pi. A needle longer than the spacing gives no simple
    // estimate.
    std::optional<double> estimateFactor() const;
    int deduction(std::int64_t) const { return 0; }
    // The window's rate, so that its lean shows beside the textbook's.
    double comparedRate() const;
    // Why needles of this length on these lines cannot be thrown, or an empty text.
    std::string refusal() const;
    GeometricNeedles stream(std::uint32_t seedBits) const { return {seedBits, length, spacing}; }

    // The textbook's picture: a needle's acute angle to the lines, and the distance of its
    // centre from the nearest line.
    ThrowSpace throwSpace() const;
    std::vector<Throw> firstThrows(std::uint32_t seedBits, int count) const;
    // Within (L/2) sin(angle) of a line, which a needle longer than the spacing may pass.
    HeightRange hitRegion(double angle) const;
    std::optional<HeightRange> comparedRegion(double) const { return std::nullopt; }
};

}  // namespace buffon
