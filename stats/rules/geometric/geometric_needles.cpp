// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/rules/geometric/geometric_needles.h"

#include <algorithm>

#include "stats/rules/geometric/geometric_draws.h"
#include "stats/rules/lanes/lane_kernels.h"

namespace buffon {
namespace {

// `state` is the one before the first needle's, as in GeometricNeedles.
std::int64_t countOneByOne(std::uint64_t state, std::int64_t needles, double halfSpacing,
                           double halfLength)
{
    std::int64_t hits = 0;
    for (std::int64_t i = 0; i < needles; ++i) {
        const double distance = uniformOf(mix(state += kGamma)) * halfSpacing;
        const double angle = uniformOf(mix(state += kGamma)) * kHalfPi;
        hits += isHit(distance, angle, halfLength);
    }
    return hits;
}

}  // namespace

GeometricNeedles::GeometricNeedles(std::uint32_t seed, double length, double spacing)
    : halfSpacing_(spacing / 2), halfLength_(length / 2), state_(mix(seed + kGamma))
{
}

std::int64_t GeometricNeedles::countHits(std::int64_t needles, CountKernel kernel)
{
    const std::int64_t count = std::max<std::int64_t>(needles, 0);
    std::int64_t done = 0;
    std::int64_t hits = 0;
#if defined(__x86_64__)
    const GeometricShape shape{halfSpacing_, halfLength_, kNearBoundary * halfLength_};
#endif
    switch (kernelOrFastest(kernel)) {
#if defined(__x86_64__)
    case CountKernel::Avx512:
        done = count / kAvx512Block * kAvx512Block;
        hits = countGeometricAvx512(state_, count / kAvx512Block, shape);
        break;
    case CountKernel::Avx2:
        done = count / kAvx2Block * kAvx2Block;
        hits = countGeometricAvx2(state_, count / kAvx2Block, shape);
        break;
#endif
    default:
        break;
    }
    skip(done);
    hits += countOneByOne(state_, count - done, halfSpacing_, halfLength_);
    skip(count - done);
    return hits;
}

std::int64_t GeometricNeedles::countHits(std::int64_t needles)
{
    return countHits(needles, fastestKernel());
}

void GeometricNeedles::skip(std::int64_t needles)
{
    // Wrapping round 2^64 is the generator's own arithmetic.
    state_ += 2 * static_cast<std::uint64_t>(std::max<std::int64_t>(needles, 0)) * kGamma;
}

Throw GeometricNeedles::next()
{
    std::uint32_t unused = 0;
    return next(unused);
}

Throw GeometricNeedles::next(std::uint32_t& spareBits)
{
    const std::uint64_t distanceBits = mix(state_ += kGamma);
    const std::uint64_t angleBits = mix(state_ += kGamma);
    const double distance = uniformOf(distanceBits) * halfSpacing_;
    const double angle = uniformOf(angleBits) * kHalfPi;
    spareBits = static_cast<std::uint32_t>((distanceBits & kSpareMask) << kSpareWidth |
                                           (angleBits & kSpareMask));
    return {angle, distance, isHit(distance, angle, halfLength_)};
}

}  // namespace buffon
