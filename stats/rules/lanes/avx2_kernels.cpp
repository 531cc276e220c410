// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The lane kernels on AVX2 and FMA. Only what follows the target line is built for those
// instructions: every header included above it stays plain x86-64, so that no copy of an inline
// function the rest of the program shares is built for a processor it may not run on.

#if defined(__x86_64__)

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <utility>

#include "experiment/board.h"
#include "experiment/needle.h"
#include "experiment/random_source.h"
#include "stats/rules/geometric/geometric_draws.h"
#include "stats/rules/lanes/lane_kernels.h"

#pragma GCC target("avx2,fma,popcnt")

#include "stats/rules/lanes/avx2_lanes.h"
#include "stats/rules/lanes/paired_lanes.h"
#include "stats/rules/lanes/polynomial_sine.h"

#include "stats/rules/geometric/geometric_lanes.h"
#include "stats/rules/window/window_lanes.h"

namespace buffon {

static_assert(PairedLanes<Avx2Lanes>::kCount == kAvx2Block);

std::int64_t countWindowAvx2(const WindowLanes& lanes, std::int64_t blocks)
{
    return countWindowLanes<Avx2Lanes>(lanes, blocks);
}

std::int64_t countGeometricAvx2(std::uint64_t state, std::int64_t blocks,
                                const GeometricShape& shape)
{
    return countGeometricLanes<PairedLanes<Avx2Lanes>>(state, blocks, shape);
}

}  // namespace buffon

#endif
