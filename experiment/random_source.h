// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <bit>
#include <cstdint>

namespace buffon {

// Many steps of the generator's congruential recurrence taken as one: a state s becomes
// s * multiplier + increment.
struct Stride {
    std::uint64_t multiplier = 1;
    std::uint64_t increment = 0;

    constexpr std::uint64_t apply(std::uint64_t state) const
    {
        return state * multiplier + increment;
    }
};

// The experiment's uniform source of single-precision values in [0, 1), reseeded from a
// single-precision value. PCG32 (O'Neill's permuted congruential generator, XSH RR output):
// statistically sound, and cheap enough to be inlined into the needle loop.
class UniformRandomSource {
public:
    explicit UniformRandomSource(float seed = 0.0f) { reseed(seed); }

    float nextValue() { return valueOf(nextBits()); }
    // Every distinct seed, down to its last bit, starts the sequence at its own place: PCG's
    // own seeding, one step, add the seed, one more step.
    void reseed(float seed)
    {
        state_ = 0;
        nextBits();
        // The builtin behind std::bit_cast: the browser build's standard library predates it.
        state_ += __builtin_bit_cast(std::uint32_t, seed);
        nextBits();
    }

    // For code that draws in bulk: each state gives one draw, the next state is one stride of
    // a single step further, and any number of draws can be passed over at the cost of a few
    // dozen multiplications.
    std::uint64_t state() const { return state_; }
    void skip(std::uint64_t draws) { state_ = strideOf(draws).apply(state_); }

    static constexpr std::uint32_t bitsOf(std::uint64_t state)
    {
        const auto shifted = static_cast<std::uint32_t>(((state >> 18u) ^ state) >> 27u);
        const auto rotation = static_cast<std::uint32_t>(state >> 59u);
        return std::rotr(shifted, static_cast<int>(rotation));
    }
    // 24 random bits fill a float's mantissa exactly, so the largest value is 1 - 2^-24 and
    // rounding can never carry it up to 1.0.
    static constexpr float valueOf(std::uint32_t bits)
    {
        return static_cast<float>(bits >> 8) * 0x1p-24f;
    }
    // Brown's jump ahead ("Random number generation with arbitrary strides", 1994): strides
    // of 1, 2, 4, ... steps, each its predecessor applied twice, combined by the bits of `steps`.
    static constexpr Stride strideOf(std::uint64_t steps)
    {
        Stride total;
        for (Stride power{kMultiplier, kIncrement}; steps != 0; steps >>= 1u) {
            if ((steps & 1u) != 0) {
                total = {total.multiplier * power.multiplier,
                         total.increment * power.multiplier + power.increment};
            }
            power = {power.multiplier * power.multiplier, (power.multiplier + 1) * power.increment};
        }
        return total;
    }

private:
    std::uint32_t nextBits()
    {
        const std::uint64_t old = state_;
        state_ = old * kMultiplier + kIncrement;
        return bitsOf(old);
    }

    static constexpr std::uint64_t kMultiplier = 6364136223846793005u;
    static constexpr std::uint64_t kIncrement = 1442695040888963407u;
    std::uint64_t state_ = 0;
};

}  // namespace buffon
