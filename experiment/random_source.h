#pragma once

#include <bit>
#include <cstdint>

namespace buffon {

// The experiment's uniform source of single-precision values in [0, 1), reseeded from a
// single-precision value. PCG32 (O'Neill's permuted congruential generator, XSH RR output):
// statistically sound, and cheap enough to be inlined into the needle loop.
class UniformRandomSource {
public:
    explicit UniformRandomSource(float seed = 0.0f) { reseed(seed); }

    // 24 random bits fill a float's mantissa exactly, so the largest value is 1 - 2^-24 and
    // rounding can never carry it up to 1.0.
    float nextValue() { return static_cast<float>(nextBits() >> 8) * 0x1p-24f; }
    // Every distinct seed, down to its last bit, starts the sequence at its own place: PCG's
    // own seeding, one step, add the seed, one more step.
    void reseed(float seed)
    {
        state_ = 0;
        nextBits();
        state_ += std::bit_cast<std::uint32_t>(seed);
        nextBits();
    }

private:
    std::uint32_t nextBits()
    {
        const std::uint64_t old = state_;
        state_ = old * kMultiplier + kIncrement;
        const auto shifted = static_cast<std::uint32_t>(((old >> 18u) ^ old) >> 27u);
        const auto rotation = static_cast<std::uint32_t>(old >> 59u);
        return (shifted >> rotation) | (shifted << ((32u - rotation) & 31u));
    }

    static constexpr std::uint64_t kMultiplier = 6364136223846793005u;
    static constexpr std::uint64_t kIncrement = 1442695040888963407u;
    std::uint64_t state_ = 0;
};

}  // namespace buffon
