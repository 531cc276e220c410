// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/rules/window/window_needles.h"

#include "stats/rules/vector_sine.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>

#include "experiment/board.h"
#include "experiment/needle.h"

namespace buffon {
namespace {

// Why the vector kernels count exactly what verticalOutcome does.
//
// Every step but the sine is the same IEEE operation, in the same precision and order, as in
// verticalOutcome: widening the float draws, the products and sums, narrowing the start height
// to float, flooring. This library is built with -ffp-contract=off, so no product and sum fuse
// into one rounding here either.
//
// The sine alone may differ. glibc's vector sine is within 4 ulp (its authors' figure, from
// random sampling of its domain) and std::sin within 1, so the two differ by at most 5 ulp of
// 1, 1.2e-15.
// Rounding is monotonic; times 40 the offsets differ by at most 4.5e-14 plus one ulp of 40
// (7.2e-15), and added to the start height by at most that plus one ulp of a height below 512
// (5.7e-14): 1.1e-13 in all. An end height farther than that from every whole number floors
// to the same whole unit either way, and the hit rule reads nothing else of it. Needles whose
// vector end height lies within kNearWhole of a whole number are counted again one by one
// with verticalOutcome itself; the margin is millions of times the bound, so even a vector
// sine far worse than its tests found counts exactly, and it sends about two needles in a
// million the slow way.
constexpr double kNearWhole = 1e-6;

// The hit rule on whole heights, as arithmetic: a ruled line lies between lo and hi (both
// included) when fewer lines lie at or below lo - 1 than at or below hi. Lines at or below a
// height are its 80-unit bands, found with a multiplier a little above 1/80 so that a height
// on a line never rounds into the band below. The vector kernels compute this lane by lane.
constexpr double kPerBand = 1.0 / kLineSpacing + 0x1p-20;

constexpr int linesAtOrBelow(double height)
{
    return static_cast<int>(std::max(height, 0.0) * kPerBand);
}

static_assert([] {
    // Every whole height lo - 1 and hi can take: needles end from 0 to below 480.
    for (int height = -1; height < kPositionOffset + kPositionSpan + kNeedleReach; ++height) {
        const auto lines =
            std::count_if(kRuledLines.begin(), kRuledLines.end(), [height](int line) {
                return line <= height;
            });
        if (linesAtOrBelow(height) != lines) {
            return false;
        }
    }
    return true;
}());

std::int64_t countScalar(const float* startYDraws, const float* angleDraws, std::size_t count)
{
    std::int64_t hits = 0;
    for (std::size_t i = 0; i < count; ++i) {
        hits += verticalOutcome(startYDraws[i], angleDraws[i]) == Outcome::Hit;
    }
    return hits;
}

// The needles of the lanes in `lanes`, counted one by one.
std::int64_t countLanes(const float* startYDraws, const float* angleDraws, unsigned lanes)
{
    std::int64_t hits = 0;
    for (; lanes != 0; lanes &= lanes - 1) {
        const int lane = std::countr_zero(lanes);
        hits += verticalOutcome(startYDraws[lane], angleDraws[lane]) == Outcome::Hit;
    }
    return hits;
}

__attribute__((target("avx2"))) std::int64_t countAvx2(const float* startYDraws,
                                                       const float* angleDraws, std::size_t count)
{
    const __m256d span = _mm256_set1_pd(kPositionSpan);
    const __m256d offset = _mm256_set1_pd(kPositionOffset);
    const __m256d angleSpan = _mm256_set1_pd(kAngleSpan);
    const __m256d reach = _mm256_set1_pd(kNeedleReach);
    const __m256d zero = _mm256_setzero_pd();
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d nearWhole = _mm256_set1_pd(kNearWhole);
    const __m256d farFromWhole = _mm256_set1_pd(1.0 - kNearWhole);
    const __m256d perBand = _mm256_set1_pd(kPerBand);
    std::int64_t hits = 0;
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m256d startYDraw = _mm256_cvtps_pd(_mm_loadu_ps(startYDraws + i));
        const __m256d startY = _mm256_cvtps_pd(
            _mm256_cvtpd_ps(_mm256_add_pd(_mm256_mul_pd(startYDraw, span), offset)));
        const __m256d angle =
            _mm256_mul_pd(_mm256_cvtps_pd(_mm_loadu_ps(angleDraws + i)), angleSpan);
        const __m256d endY = _mm256_add_pd(startY, _mm256_mul_pd(_ZGVdN4v_sin(angle), reach));
        const __m256d startUnits = _mm256_floor_pd(startY);
        const __m256d endUnits = _mm256_floor_pd(endY);
        const __m256d fraction = _mm256_sub_pd(endY, endUnits);
        const __m256d near = _mm256_or_pd(_mm256_cmp_pd(fraction, nearWhole, _CMP_LT_OQ),
                                          _mm256_cmp_pd(fraction, farFromWhole, _CMP_GT_OQ));
        const __m256d below =
            _mm256_max_pd(_mm256_sub_pd(_mm256_min_pd(startUnits, endUnits), one), zero);
        const __m256d top = _mm256_max_pd(startUnits, endUnits);
        const __m256d hit =
            _mm256_cmp_pd(_mm256_floor_pd(_mm256_mul_pd(below, perBand)),
                          _mm256_floor_pd(_mm256_mul_pd(top, perBand)), _CMP_NEQ_OQ);
        const auto nearLanes = static_cast<unsigned>(_mm256_movemask_pd(near));
        const auto hitLanes = static_cast<unsigned>(_mm256_movemask_pd(hit));
        hits += std::popcount(hitLanes & ~nearLanes);
        hits += countLanes(startYDraws + i, angleDraws + i, nearLanes);
    }
    return hits + countScalar(startYDraws + i, angleDraws + i, count - i);
}

__attribute__((target("avx512f"))) std::int64_t countAvx512(const float* startYDraws,
                                                            const float* angleDraws,
                                                            std::size_t count)
{
    const __m512d span = _mm512_set1_pd(kPositionSpan);
    const __m512d offset = _mm512_set1_pd(kPositionOffset);
    const __m512d angleSpan = _mm512_set1_pd(kAngleSpan);
    const __m512d reach = _mm512_set1_pd(kNeedleReach);
    const __m512d zero = _mm512_setzero_pd();
    const __m512d one = _mm512_set1_pd(1.0);
    const __m512d nearWhole = _mm512_set1_pd(kNearWhole);
    const __m512d farFromWhole = _mm512_set1_pd(1.0 - kNearWhole);
    const __m512d perBand = _mm512_set1_pd(kPerBand);
    std::int64_t hits = 0;
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m512d startYDraw = _mm512_cvtps_pd(_mm256_loadu_ps(startYDraws + i));
        const __m512d startY = _mm512_cvtps_pd(
            _mm512_cvtpd_ps(_mm512_add_pd(_mm512_mul_pd(startYDraw, span), offset)));
        const __m512d angle =
            _mm512_mul_pd(_mm512_cvtps_pd(_mm256_loadu_ps(angleDraws + i)), angleSpan);
        const __m512d endY = _mm512_add_pd(startY, _mm512_mul_pd(_ZGVeN8v_sin(angle), reach));
        const __m512d startUnits = _mm512_floor_pd(startY);
        const __m512d endUnits = _mm512_floor_pd(endY);
        const __m512d fraction = _mm512_sub_pd(endY, endUnits);
        const __mmask8 near = _mm512_cmp_pd_mask(fraction, nearWhole, _CMP_LT_OQ) |
                              _mm512_cmp_pd_mask(fraction, farFromWhole, _CMP_GT_OQ);
        const __m512d below =
            _mm512_max_pd(_mm512_sub_pd(_mm512_min_pd(startUnits, endUnits), one), zero);
        const __m512d top = _mm512_max_pd(startUnits, endUnits);
        const __mmask8 hit =
            _mm512_cmp_pd_mask(_mm512_floor_pd(_mm512_mul_pd(below, perBand)),
                               _mm512_floor_pd(_mm512_mul_pd(top, perBand)), _CMP_NEQ_OQ);
        hits += std::popcount(static_cast<unsigned>(hit & ~near));
        hits += countLanes(startYDraws + i, angleDraws + i, near);
    }
    return hits + countScalar(startYDraws + i, angleDraws + i, count - i);
}

// Draws are taken a batch at a time: few enough to stay in the first-level cache.
constexpr std::size_t kBatch = 512;

// A needle takes four draws; its outcome reads the second and the fourth.
constexpr Stride kToStartYDraw = UniformRandomSource::strideOf(1);
constexpr Stride kToAngleDraw = UniformRandomSource::strideOf(3);
constexpr Stride kToNextNeedle = UniformRandomSource::strideOf(4);

}  // namespace

std::int64_t countHitsOfDraws(std::span<const float> startYDraws, std::span<const float> angleDraws,
                              SineKernel kernel)
{
    const std::size_t count = std::min(startYDraws.size(), angleDraws.size());
    switch (kernelOrFastest(kernel)) {
    case SineKernel::Avx512:
        return countAvx512(startYDraws.data(), angleDraws.data(), count);
    case SineKernel::Avx2:
        return countAvx2(startYDraws.data(), angleDraws.data(), count);
    case SineKernel::Scalar:
        break;
    }
    return countScalar(startYDraws.data(), angleDraws.data(), count);
}

std::int64_t countHits(UniformRandomSource& random, std::int64_t needles, SineKernel kernel)
{
    // Aligned to cache lines, so that no vector load straddles two whatever the stack depth.
    alignas(64) std::array<float, kBatch> startYDraws;
    alignas(64) std::array<float, kBatch> angleDraws;
    // Two chains of states, one for each draw read, so that neither waits on the other.
    std::uint64_t startYState = kToStartYDraw.apply(random.state());
    std::uint64_t angleState = kToAngleDraw.apply(random.state());
    std::int64_t hits = 0;
    for (std::int64_t done = 0; done < needles;) {
        const auto batch = static_cast<std::size_t>(std::min<std::int64_t>(kBatch, needles - done));
        for (std::size_t i = 0; i < batch; ++i) {
            startYDraws[i] = UniformRandomSource::valueOf(UniformRandomSource::bitsOf(startYState));
            angleDraws[i] = UniformRandomSource::valueOf(UniformRandomSource::bitsOf(angleState));
            startYState = kToNextNeedle.apply(startYState);
            angleState = kToNextNeedle.apply(angleState);
        }
        hits += countHitsOfDraws(std::span(startYDraws).first(batch),
                                 std::span(angleDraws).first(batch), kernel);
        done += static_cast<std::int64_t>(batch);
    }
    random.skip(4 * static_cast<std::uint64_t>(std::max<std::int64_t>(needles, 0)));
    return hits;
}

std::int64_t countHits(UniformRandomSource& random, std::int64_t needles)
{
    return countHits(random, needles, fastestKernel());
}

}  // namespace buffon
