// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/rules/window/window_needles.h"

#include <algorithm>

#include "experiment/needle.h"
#include "stats/rules/lanes/lane_kernels.h"

namespace buffon {
namespace {

// A needle takes four draws; its outcome reads the second and the fourth.
constexpr Stride kToStartYDraw = UniformRandomSource::strideOf(1);
constexpr Stride kToAngleDraw = UniformRandomSource::strideOf(3);
constexpr Stride kToNextNeedle = UniformRandomSource::strideOf(4);

// `state` is the one the first needle's first draw comes from.
std::int64_t countOneByOne(std::uint64_t state, std::int64_t needles)
{
    // Two chains of states, one for each draw read, so that neither waits on the other.
    std::uint64_t startYState = kToStartYDraw.apply(state);
    std::uint64_t angleState = kToAngleDraw.apply(state);
    std::int64_t hits = 0;
    for (std::int64_t i = 0; i < needles; ++i) {
        hits += verticalOutcome(
                    UniformRandomSource::valueOf(UniformRandomSource::bitsOf(startYState)),
                    UniformRandomSource::valueOf(UniformRandomSource::bitsOf(angleState))) ==
                Outcome::Hit;
        startYState = kToNextNeedle.apply(startYState);
        angleState = kToNextNeedle.apply(angleState);
    }
    return hits;
}

#if defined(__x86_64__)
WindowLanes lanesFrom(std::uint64_t state, int width)
{
    WindowLanes lanes;
    for (int lane = 0; lane < width; ++lane) {
        const Stride toNeedle = UniformRandomSource::strideOf(4 * static_cast<std::uint64_t>(lane));
        lanes.startYStates[lane] = kToStartYDraw.apply(toNeedle.apply(state));
        lanes.angleStates[lane] = kToAngleDraw.apply(toNeedle.apply(state));
    }
    lanes.toNextBlock = UniformRandomSource::strideOf(4 * static_cast<std::uint64_t>(width));
    return lanes;
}
#endif

}  // namespace

std::int64_t countHits(UniformRandomSource& random, std::int64_t needles, CountKernel kernel)
{
    const std::int64_t count = std::max<std::int64_t>(needles, 0);
    std::int64_t done = 0;
    std::int64_t hits = 0;
    switch (kernelOrFastest(kernel)) {
#if defined(__x86_64__)
    case CountKernel::Avx512:
        done = count / kAvx512Block * kAvx512Block;
        hits = countWindowAvx512(lanesFrom(random.state(), kAvx512Block), count / kAvx512Block);
        break;
    case CountKernel::Avx2:
        done = count / kAvx2Block * kAvx2Block;
        hits = countWindowAvx2(lanesFrom(random.state(), kAvx2Block), count / kAvx2Block);
        break;
#endif
    default:
        break;
    }
    random.skip(4 * static_cast<std::uint64_t>(done));
    hits += countOneByOne(random.state(), count - done);
    random.skip(4 * static_cast<std::uint64_t>(count - done));
    return hits;
}

std::int64_t countHits(UniformRandomSource& random, std::int64_t needles)
{
    return countHits(random, needles, fastestKernel());
}

}  // namespace buffon
