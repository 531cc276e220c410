// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "experiment/random_source.h"
#include "stats/geometric_needles.h"
#include "stats/geometric_rule.h"

namespace buffon {

// Which experiment a batch or a trace throws: the window's own, with its board, its whole-unit
// heights and its deductions, or the textbook's (GeometricRule).
struct NeedleRule {
    enum class Kind { Window, Geometric };
    Kind kind = Kind::Window;
    GeometricRule geometry;  // the textbook's needle and spacing

    double exactRate() const;
    // Estimates of pi are this times needles over hits: 1 for the window (N ÷ count), 2L/D for
    // the textbook's needles no longer than the spacing. Longer needles give no simple estimate.
    std::optional<double> estimateFactor() const;
    // What the window takes off the count for a run of this size; the textbook takes nothing.
    int deduction(int needles) const;
    // The rule and its parameters, as a summary names them.
    std::string description() const;
};

// The seed of run `run` of a batch seeded with `seed`: the window's runs reseed from it as a
// float's bit pattern, the textbook's streams start from it.
std::uint32_t runSeedBits(std::uint32_t seed, std::int64_t run);

// One run's needles, counted in pieces as they are asked for; the pieces together count exactly
// what one whole run counts.
class NeedleStream {
public:
    NeedleStream(const NeedleRule& rule, std::uint32_t seedBits);

    std::int64_t countHits(std::int64_t needles);

private:
    NeedleRule::Kind kind_;
    UniformRandomSource window_;
    GeometricNeedles textbook_;
};

}  // namespace buffon
