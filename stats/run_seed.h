// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <cstdint>

namespace buffon {

// Runs reseed from the bit patterns of the non-negative finite single-precision numbers, the
// kind of value a window run reseeds from; seeds are any of the same numbers' patterns.
inline constexpr std::uint32_t kLargestSeed = 0x7f7fffff;
// How many runs there are: a batch of more would throw some run twice.
inline constexpr std::int64_t kDistinctRuns = std::int64_t{kLargestSeed} + 1;

// A shuffle of the numbers 0 to count - 1 that a key picks: each index gives a different
// number, and two keys give orders as unrelated as two draws at random.
//
// It is a bijection. Indices are split into two halves of bits, `width` bits in all, where
// 2^width is the least power of two of at least `count` numbers (two bits at least). A round
// replaces one half by itself xor a keyed hash of the other half, which it leaves alone, so the
// same round undoes it: each round, and their composition P, is a bijection of the 2^width
// numbers. Cycle-walking then brings P into 0 to count - 1: g(x) is the first of P(x),
// P(P(x)), ... below count, which exists since P's cycle through x comes back to x. Were
// g(x) = g(y) = z, every number strictly between x and z on that walk is count or more, so
// walking back from z through P's inverse meets x first among numbers below count, and y
// likewise: x = y. A one-to-one map of a finite set into itself is onto. Since count is more
// than half of 2^width, a walk takes fewer than two steps on average.
class KeyedShuffle {
public:
    KeyedShuffle(std::uint64_t count, std::uint64_t key);

    std::uint64_t operator()(std::uint64_t index) const;

private:
    std::uint64_t permuted(std::uint64_t value) const;

    // Four rounds of a keyed hash that mixes every bit, as Luby and Rackoff's construction
    // has, give a shuffle that looks drawn at random; each costs a run a few nanoseconds.
    static constexpr int kRounds = 4;
    std::uint64_t count_;
    int lowBits_;
    std::uint64_t lowMask_;
    std::uint64_t highMask_;
    std::array<std::uint64_t, kRounds> keys_{};
};

// The seed's shuffle of the reseed values: run k (from 0) of a batch seeded with `seed` reseeds
// from the number whose bit pattern is its k-th, so that a batch never throws a run twice and
// two seeds share runs only as two random samples would.
KeyedShuffle seedShuffle(std::uint32_t seed);

// That bit pattern, for one run.
std::uint32_t runSeedBits(std::uint32_t seed, std::int64_t run);

}  // namespace buffon
