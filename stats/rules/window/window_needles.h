// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <bit>
#include <cstdint>

#include "experiment/random_source.h"
#include "stats/rules/lanes/count_kernel.h"

namespace buffon {

// Exactly the count of `needles` needles thrown one by one with throwNeedle, and `random`
// left where they leave it; only faster. A kernel the processor lacks gives way to the fastest
// one it has.
std::int64_t countHits(UniformRandomSource& random, std::int64_t needles);
std::int64_t countHits(UniformRandomSource& random, std::int64_t needles, CountKernel kernel);

// One window run's needles, reseeded as the window reseeds from the clock, counted in pieces as
// they are asked for; the pieces together count exactly what the whole run counts.
class WindowNeedles {
public:
    explicit WindowNeedles(std::uint32_t seedBits) : random_(__builtin_bit_cast(float, seedBits)) {}

    std::int64_t countHits(std::int64_t needles) { return buffon::countHits(random_, needles); }
    std::int64_t countHits(std::int64_t needles, CountKernel kernel)
    {
        return buffon::countHits(random_, needles, kernel);
    }
    // Passes over needles without counting them, at the cost of a jump ahead: threads can share
    // out one run, each counting its own stretch of it.
    void skip(std::int64_t needles) { random_.skip(4 * static_cast<std::uint64_t>(needles)); }

private:
    UniformRandomSource random_;
};

}  // namespace buffon
