#pragma once

#include <cstdint>
#include <random>

namespace buffon {

// A uniform source of single-precision values in [0, 1), reseeded from a single-precision value.
class RandomSource {
public:
    virtual ~RandomSource() = default;

    virtual float NextValue() = 0;
    virtual void Reseed(float seed) = 0;
};

class UniformRandomSource final : public RandomSource {
public:
    explicit UniformRandomSource(float seed = 0.0f) { Reseed(seed); }

    // 24 random bits fill a float's mantissa exactly, so the largest value is 1 - 2^-24 and
    // rounding can never carry it up to 1.0.
    float NextValue() override { return static_cast<float>(engine_() >> 8) * 0x1p-24f; }
    void Reseed(float seed) override;

private:
    std::mt19937 engine_;
};

}  // namespace buffon
