// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

#include "experiment/needle.h"

namespace buffon {

// The needle loop of a run: throws `count` needles from `random`, hands each whole needle to
// `onNeedle` in the order they fall, and returns how many hit.
template <typename Random, typename OnNeedle>
std::int64_t throwNeedles(Random& random, std::int64_t count, OnNeedle&& onNeedle)
{
    std::int64_t hits = 0;
    for (std::int64_t i = 0; i < count; ++i) {
        const Needle needle = throwNeedle(random);
        hits += needle.outcome == Outcome::Hit;
        onNeedle(needle);
    }
    return hits;
}

}  // namespace buffon
