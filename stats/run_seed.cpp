// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/run_seed.h"

#include <algorithm>
#include <bit>

namespace buffon {
namespace {

// splitmix64's finaliser: every bit of the result depends on every bit of `x`.
constexpr std::uint64_t mixed(std::uint64_t x)
{
    x += 0x9e3779b97f4a7c15;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9;
    x = (x ^ (x >> 27)) * 0x94d049bb133111eb;
    return x ^ (x >> 31);
}

}  // namespace

KeyedShuffle::KeyedShuffle(std::uint64_t count, std::uint64_t key) : count_(count)
{
    const int width = std::max(2, static_cast<int>(std::bit_width(count - 1)));
    lowBits_ = width / 2;
    lowMask_ = (std::uint64_t{1} << lowBits_) - 1;
    highMask_ = (std::uint64_t{1} << (width - lowBits_)) - 1;
    for (int round = 0; round < kRounds; ++round) {
        keys_[static_cast<std::size_t>(round)] = mixed(mixed(key) + static_cast<unsigned>(round));
    }
}

std::uint64_t KeyedShuffle::permuted(std::uint64_t value) const
{
    std::uint64_t low = value & lowMask_;
    std::uint64_t high = value >> lowBits_;
    for (std::size_t round = 0; round < kRounds; ++round) {
        if (round % 2 == 0) {
            low ^= mixed(high ^ keys_[round]) & lowMask_;
        } else {
            high ^= mixed(low ^ keys_[round]) & highMask_;
        }
    }
    return high << lowBits_ | low;
}

std::uint64_t KeyedShuffle::operator()(std::uint64_t index) const
{
    std::uint64_t value = permuted(index);
    while (value >= count_) {
        value = permuted(value);
    }
    return value;
}

KeyedShuffle seedShuffle(std::uint32_t seed)
{
    return {kDistinctRuns, seed};
}

std::uint32_t runSeedBits(std::uint32_t seed, std::int64_t run)
{
    return static_cast<std::uint32_t>(seedShuffle(seed)(static_cast<std::uint64_t>(run)));
}

}  // namespace buffon
