// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <cstdint>

#include "experiment/random_source.h"

namespace buffon {

// The bulk counters' vector kernels, each built for its instruction set in a file of its own
// (avx2_kernels.cpp, avx512_kernels.cpp). Call one only where kernelRunsHere says it runs.

// How many needles each kernel takes at once, a block: two registers' lanes.
inline constexpr int kAvx2Block = 8;
inline constexpr int kAvx512Block = 16;

// A window run's needles in lanes: lane i starts on needle i of the first block, with the states
// its second and fourth draws come from (the two its outcome reads); every lane steps a block of
// needles, four draws each, at once. Lanes past the kernel's block are not read.
struct WindowLanes {
    std::array<std::uint64_t, kAvx512Block> startYStates{};
    std::array<std::uint64_t, kAvx512Block> angleStates{};
    Stride toNextBlock;
};

// The hits of `blocks` blocks of needles, as verticalOutcome counts them.
std::int64_t countWindowAvx2(const WindowLanes& lanes, std::int64_t blocks);
std::int64_t countWindowAvx512(const WindowLanes& lanes, std::int64_t blocks);

// The textbook's needles: half the line spacing, half the needle's length, and how near a
// distance may lie to the needle's reach before the needle is judged again with std::sin.
struct GeometricShape {
    double halfSpacing;
    double halfLength;
    double margin;
};

// The hits of `blocks` blocks of needles from the SplitMix64 state `state`, lane i holding
// needle i of its block, as isHit judges them.
std::int64_t countGeometricAvx2(std::uint64_t state, std::int64_t blocks,
                                const GeometricShape& shape);
std::int64_t countGeometricAvx512(std::uint64_t state, std::int64_t blocks,
                                  const GeometricShape& shape);

}  // namespace buffon
