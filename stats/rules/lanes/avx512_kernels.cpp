// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The lane kernels on AVX-512F and AVX-512DQ. Only what follows the target line is built for those
// instructions: every header included above it stays plain x86-64, so that no copy of an inline
// function the rest of the program shares is built for a processor it may not run on.

#if defined(__x86_64__)

// GCC 12 takes the deliberately undefined registers of its own AVX-512 intrinsics for
// uninitialised variables (GCC bug 105593, fixed in GCC 13).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop

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

#pragma GCC target("avx512f,avx512dq,popcnt")

#include "stats/rules/lanes/avx512_lanes.h"
#include "stats/rules/lanes/paired_lanes.h"
#include "stats/rules/lanes/polynomial_sine.h"

#include "stats/rules/geometric/geometric_lanes.h"
#include "stats/rules/window/window_lanes.h"

namespace buffon {

static_assert(PairedLanes<Avx512Lanes>::kCount == kAvx512Block);

std::int64_t countWindowAvx512(const WindowLanes& lanes, std::int64_t blocks)
{
    return countWindowLanes<Avx512Lanes>(lanes, blocks);
}

std::int64_t countGeometricAvx512(std::uint64_t state, std::int64_t blocks,
                                  const GeometricShape& shape)
{
    return countGeometricLanes<PairedLanes<Avx512Lanes>>(state, blocks, shape);
}

}  // namespace buffon

#endif
