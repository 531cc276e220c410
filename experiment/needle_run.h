// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <type_traits>

#include "experiment/hit_counter.h"
#include "experiment/needle.h"

namespace buffon {

// What a run does with each needle besides counting it. OnlyCount throws only what the hit rule
// reads; anything else is called with every whole needle, in the order they fall.
struct OnlyCount {};

// The needle loop of every run: throws `count` needles from `random` and returns how many hit.
template <typename Random, typename OnNeedle = OnlyCount>
std::int64_t throwNeedles(Random& random, std::int64_t count, OnNeedle&& onNeedle = {})
{
    constexpr bool onlyCount = std::is_same_v<std::remove_cvref_t<OnNeedle>, OnlyCount>;
    if constexpr (onlyCount && std::is_same_v<Random, UniformRandomSource>) {
        // Needles nobody sees are counted in bulk, to the same count and the same state after.
        return countHits(random, count);
    } else {
        std::int64_t hits = 0;
        for (std::int64_t i = 0; i < count; ++i) {
            if constexpr (onlyCount) {
                hits += throwOutcome(random) == Outcome::Hit;
            } else {
                const Needle needle = throwNeedle(random);
                hits += needle.outcome == Outcome::Hit;
                onNeedle(needle);
            }
        }
        return hits;
    }
}

}  // namespace buffon
