#pragma once

#include <cstddef>
#include <vector>

#include "random_source.h"

// Hands out a fixed list of draws, over and over, and counts what it was asked for.
class ScriptedRandom final : public buffon::RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> draws) : draws_(std::move(draws)) {}

    float NextValue() override { return draws_[taken++ % draws_.size()]; }
    void Reseed(float seed) override { seeds.push_back(seed); }

    std::size_t taken = 0;
    std::vector<float> seeds;

private:
    std::vector<float> draws_;
};

// Draws for one needle lying flat on the first ruled line (a hit) or between lines (a miss).
inline constexpr float kHitDraws[] = {0.5f, 0.1f, 0.0f, 0.0f};
inline constexpr float kMissDraws[] = {0.5f, 0.2f, 0.0f, 0.0f};

// A source whose first `hits` needles hit and whose others miss.
inline ScriptedRandom NeedlesWithHits(int needles, int hits)
{
    std::vector<float> draws;
    for (int i = 0; i < needles; ++i) {
        const float* needle = i < hits ? kHitDraws : kMissDraws;
        draws.insert(draws.end(), needle, needle + 4);
    }
    return ScriptedRandom(std::move(draws));
}
