// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

namespace buffon {

// Seeds are the bit patterns of the non-negative finite single-precision numbers, the kind of
// value a window run reseeds from.
inline constexpr std::uint32_t kLargestSeed = 0x7f7fffff;
// Run i of a batch seeded with S reseeds from the pattern that follows S's by i places, wrapping
// round; so a batch of more runs than there are seeds would throw some run twice.
inline constexpr std::int64_t kDistinctRuns = std::int64_t{kLargestSeed} + 1;

// The seed of run `run` (from 0) of a batch seeded with `seed`.
constexpr std::uint32_t runSeedBits(std::uint32_t seed, std::int64_t run)
{
    return static_cast<std::uint32_t>((seed + run % kDistinctRuns) % kDistinctRuns);
}

}  // namespace buffon
