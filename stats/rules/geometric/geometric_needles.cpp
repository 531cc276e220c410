// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/rules/geometric/geometric_needles.h"

#include "stats/rules/vector_sine.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

namespace buffon {
namespace {

// SplitMix64's increment and the multipliers of its mixing function.
constexpr std::uint64_t kGamma = 0x9e3779b97f4a7c15u;
constexpr std::uint64_t kMix1 = 0xbf58476d1ce4e5b9u;
constexpr std::uint64_t kMix2 = 0x94d049bb133111ebu;
// The bits of 1.0: 52 random bits below them make a double uniform in [1, 2), exactly, on
// every path, where a vector conversion from 64-bit integers would need AVX-512DQ.
constexpr std::uint64_t kOneBits = 0x3ff0000000000000u;
constexpr double kHalfPi = std::numbers::pi / 2;

// Why the vector kernels count exactly what countScalar does.
//
// The distance and the angle come from the same exact integer steps and the same two IEEE
// operations (subtracting 1, scaling) in every path, and nothing is fused into one rounding:
// this library is built with -ffp-contract=off. Only the sine differs. glibc's vector sine is
// within 4 ulp (its authors' figure, from random sampling of its domain) and std::sin within 1,
// so on [0, pi/2) the two differ by at most 5 ulp of 1, 1.2e-15; with the rounding of the
// product, the needle's half reach (L/2) sin(theta) differs by less than 1.5e-15 (L/2). A
// distance farther than that from the vector reach compares the same way with both. Needles
// within kNearBoundary (L/2) of it are counted again one by one with std::sin: the margin is
// hundreds of millions of times the bound, so even a vector sine far worse than its tests found
// counts exactly, and at most about one needle in half a million takes the slow way.
constexpr double kNearBoundary = 1e-6;

constexpr std::uint64_t mix(std::uint64_t z)
{
    z = (z ^ (z >> 30u)) * kMix1;
    z = (z ^ (z >> 27u)) * kMix2;
    return z ^ (z >> 31u);
}

double uniformOf(std::uint64_t bits)
{
    return std::bit_cast<double>(kOneBits | bits >> 12u) - 1.0;
}

struct Shape {
    double halfSpacing;
    double halfLength;
    double margin;
};

bool isHit(double distance, double angle, double halfLength)
{
    return distance <= halfLength * std::sin(angle);
}

// `state` is the one before the first needle's, as in GeometricNeedles.
std::int64_t countScalar(std::uint64_t state, std::uint64_t needles, const Shape& shape)
{
    std::int64_t hits = 0;
    for (std::uint64_t i = 0; i < needles; ++i) {
        const double distance = uniformOf(mix(state += kGamma)) * shape.halfSpacing;
        const double angle = uniformOf(mix(state += kGamma)) * kHalfPi;
        hits += isHit(distance, angle, shape.halfLength);
    }
    return hits;
}

// The needles of the lanes in `lanes`, judged again with std::sin.
std::int64_t countLanes(const double* distances, const double* angles, unsigned lanes,
                        double halfLength)
{
    std::int64_t hits = 0;
    for (; lanes != 0; lanes &= lanes - 1) {
        const int lane = std::countr_zero(lanes);
        hits += isHit(distances[lane], angles[lane], halfLength);
    }
    return hits;
}

// Low 64 bits of a product: AVX2 multiplies 32-bit halves only.
__attribute__((target("avx2"))) __m256i multiply(__m256i a, std::uint64_t b)
{
    const __m256i low = _mm256_set1_epi64x(static_cast<std::int64_t>(b & 0xffffffffu));
    const __m256i high = _mm256_set1_epi64x(static_cast<std::int64_t>(b >> 32u));
    const __m256i cross = _mm256_add_epi64(_mm256_mul_epu32(_mm256_srli_epi64(a, 32), low),
                                           _mm256_mul_epu32(a, high));
    return _mm256_add_epi64(_mm256_mul_epu32(a, low), _mm256_slli_epi64(cross, 32));
}

__attribute__((target("avx2"))) __m256d uniformsOf(__m256i state)
{
    __m256i z = multiply(_mm256_xor_si256(state, _mm256_srli_epi64(state, 30)), kMix1);
    z = multiply(_mm256_xor_si256(z, _mm256_srli_epi64(z, 27)), kMix2);
    z = _mm256_xor_si256(z, _mm256_srli_epi64(z, 31));
    const __m256i oneBits = _mm256_set1_epi64x(static_cast<std::int64_t>(kOneBits));
    return _mm256_sub_pd(_mm256_castsi256_pd(_mm256_or_si256(_mm256_srli_epi64(z, 12), oneBits)),
                         _mm256_set1_pd(1.0));
}

// `blocks` blocks of four needles, lane i holding needle i of its block.
__attribute__((target("avx2"))) std::int64_t countAvx2(std::uint64_t state, std::uint64_t blocks,
                                                       const Shape& shape)
{
    const __m256i gamma = _mm256_set1_epi64x(static_cast<std::int64_t>(kGamma));
    const __m256i toNextBlock = _mm256_set1_epi64x(static_cast<std::int64_t>(8 * kGamma));
    const auto distanceStateOf = [state](std::uint64_t lane) {
        return static_cast<std::int64_t>(state + (2 * lane + 1) * kGamma);
    };
    __m256i distanceState = _mm256_setr_epi64x(distanceStateOf(0), distanceStateOf(1),
                                               distanceStateOf(2), distanceStateOf(3));
    const __m256d halfSpacing = _mm256_set1_pd(shape.halfSpacing);
    const __m256d halfLength = _mm256_set1_pd(shape.halfLength);
    const __m256d halfPi = _mm256_set1_pd(kHalfPi);
    const __m256d margin = _mm256_set1_pd(shape.margin);
    const __m256d signBit = _mm256_set1_pd(-0.0);
    std::int64_t hits = 0;
    for (std::uint64_t block = 0; block < blocks; ++block) {
        const __m256d distance = _mm256_mul_pd(uniformsOf(distanceState), halfSpacing);
        const __m256d angle =
            _mm256_mul_pd(uniformsOf(_mm256_add_epi64(distanceState, gamma)), halfPi);
        const __m256d reach = _mm256_mul_pd(_ZGVdN4v_sin(angle), halfLength);
        const __m256d gap = _mm256_andnot_pd(signBit, _mm256_sub_pd(distance, reach));
        const auto hitLanes =
            static_cast<unsigned>(_mm256_movemask_pd(_mm256_cmp_pd(distance, reach, _CMP_LE_OQ)));
        const auto nearLanes =
            static_cast<unsigned>(_mm256_movemask_pd(_mm256_cmp_pd(gap, margin, _CMP_LE_OQ)));
        hits += std::popcount(hitLanes & ~nearLanes);
        if (nearLanes != 0) {
            alignas(32) double distances[4];
            alignas(32) double angles[4];
            _mm256_store_pd(distances, distance);
            _mm256_store_pd(angles, angle);
            hits += countLanes(distances, angles, nearLanes, shape.halfLength);
        }
        distanceState = _mm256_add_epi64(distanceState, toNextBlock);
    }
    return hits;
}

__attribute__((target("avx512f"))) __m512d uniformsOf(__m512i state)
{
    __m512i z = _mm512_mullox_epi64(_mm512_xor_si512(state, _mm512_srli_epi64(state, 30)),
                                    _mm512_set1_epi64(static_cast<std::int64_t>(kMix1)));
    z = _mm512_mullox_epi64(_mm512_xor_si512(z, _mm512_srli_epi64(z, 27)),
                            _mm512_set1_epi64(static_cast<std::int64_t>(kMix2)));
    z = _mm512_xor_si512(z, _mm512_srli_epi64(z, 31));
    const __m512i oneBits = _mm512_set1_epi64(static_cast<std::int64_t>(kOneBits));
    return _mm512_sub_pd(_mm512_castsi512_pd(_mm512_or_si512(_mm512_srli_epi64(z, 12), oneBits)),
                         _mm512_set1_pd(1.0));
}

// `blocks` blocks of eight needles, lane i holding needle i of its block.
__attribute__((target("avx512f"))) std::int64_t countAvx512(std::uint64_t state,
                                                            std::uint64_t blocks,
                                                            const Shape& shape)
{
    const __m512i gamma = _mm512_set1_epi64(static_cast<std::int64_t>(kGamma));
    const __m512i toNextBlock = _mm512_set1_epi64(static_cast<std::int64_t>(16 * kGamma));
    const auto distanceStateOf = [state](std::uint64_t lane) {
        return static_cast<std::int64_t>(state + (2 * lane + 1) * kGamma);
    };
    __m512i distanceState = _mm512_setr_epi64(
        distanceStateOf(0), distanceStateOf(1), distanceStateOf(2), distanceStateOf(3),
        distanceStateOf(4), distanceStateOf(5), distanceStateOf(6), distanceStateOf(7));
    const __m512d halfSpacing = _mm512_set1_pd(shape.halfSpacing);
    const __m512d halfLength = _mm512_set1_pd(shape.halfLength);
    const __m512d halfPi = _mm512_set1_pd(kHalfPi);
    const __m512d margin = _mm512_set1_pd(shape.margin);
    std::int64_t hits = 0;
    for (std::uint64_t block = 0; block < blocks; ++block) {
        const __m512d distance = _mm512_mul_pd(uniformsOf(distanceState), halfSpacing);
        const __m512d angle =
            _mm512_mul_pd(uniformsOf(_mm512_add_epi64(distanceState, gamma)), halfPi);
        const __m512d reach = _mm512_mul_pd(_ZGVeN8v_sin(angle), halfLength);
        const __m512d gap = _mm512_abs_pd(_mm512_sub_pd(distance, reach));
        const __mmask8 hitLanes = _mm512_cmp_pd_mask(distance, reach, _CMP_LE_OQ);
        const __mmask8 nearLanes = _mm512_cmp_pd_mask(gap, margin, _CMP_LE_OQ);
        hits += std::popcount(static_cast<unsigned>(hitLanes & ~nearLanes));
        if (nearLanes != 0) {
            alignas(64) double distances[8];
            alignas(64) double angles[8];
            _mm512_store_pd(distances, distance);
            _mm512_store_pd(angles, angle);
            hits += countLanes(distances, angles, nearLanes, shape.halfLength);
        }
        distanceState = _mm512_add_epi64(distanceState, toNextBlock);
    }
    return hits;
}

}  // namespace

GeometricNeedles::GeometricNeedles(std::uint32_t seed, double length, double spacing)
    : halfSpacing_(spacing / 2), halfLength_(length / 2), state_(mix(seed + kGamma))
{
}

std::int64_t GeometricNeedles::countHits(std::int64_t needles, SineKernel kernel)
{
    if (needles <= 0) {
        return 0;
    }
    const auto count = static_cast<std::uint64_t>(needles);
    const Shape shape{halfSpacing_, halfLength_, kNearBoundary * halfLength_};
    std::uint64_t done = 0;
    std::int64_t hits = 0;
    switch (kernelOrFastest(kernel)) {
    case SineKernel::Avx512:
        done = count / 8 * 8;
        hits = countAvx512(state_, count / 8, shape);
        break;
    case SineKernel::Avx2:
        done = count / 4 * 4;
        hits = countAvx2(state_, count / 4, shape);
        break;
    case SineKernel::Scalar:
        break;
    }
    hits += countScalar(state_ + 2 * done * kGamma, count - done, shape);
    skip(needles);
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
    const double distance = uniformOf(mix(state_ += kGamma)) * halfSpacing_;
    const double angle = uniformOf(mix(state_ += kGamma)) * kHalfPi;
    return {angle, distance, isHit(distance, angle, halfLength_)};
}

}  // namespace buffon
