// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "stats/rules/needle_rule.h"

namespace buffon {

// One long run followed as it goes: the needles thrown so far and how many of them hit.
struct TracePoint {
    std::int64_t needles = 0;
    std::int64_t hits = 0;
};

// About `points` needle counts spaced evenly on a log scale from 1 to `needles`, each once.
std::vector<std::int64_t> traceCheckpoints(std::int64_t needles, int points = 200);

// The run reseeded from the number of bit pattern `reseedBits`, recorded at the checkpoints: it
// ends at exactly the hits of that run. Needles thrown are added to `thrown` as they fall.
std::vector<TracePoint> traceReseededRun(const NeedleRule& rule, std::int64_t needles,
                                         std::uint32_t reseedBits,
                                         std::atomic<std::int64_t>& thrown);
// The run of a batch of one with this seed.
std::vector<TracePoint> traceRun(const NeedleRule& rule, std::int64_t needles, std::uint32_t seed,
                                 std::atomic<std::int64_t>& thrown);

// What a trace shows at a point: the running estimate of pi without any deduction (the hit
// fraction where the rule has no estimate), the value it tends to, and the band of `z` standard
// deviations about that value (1.96 for the band the running value stays in 95% of the time),
// cut to the values it can take: no estimate is negative, and no fraction lies outside 0 to 1.
struct TraceValues {
    double value = 0;  // NaN while no needle has hit
    double limit = 0;
    double low = 0;
    double high = 0;
};

TraceValues traceValues(const NeedleRule& rule, const TracePoint& point, double z);

}  // namespace buffon
