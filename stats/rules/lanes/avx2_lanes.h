// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

// Four 64-bit lanes in AVX2's registers, with the fused multiply-add of FMA: the operations the
// lane kernels are written in. Included only below a `#pragma GCC target("avx2,fma")`, after
// every other header its includer needs (see avx2_kernels.cpp).

namespace buffon {

struct Avx2Lanes {
    static constexpr int kCount = 4;
    using Bits = __m256i;
    using Reals = __m256d;
    using Mask = __m256d;  // every bit of a lane set where it holds

    static Bits bits(std::uint64_t value)
    {
        return _mm256_set1_epi64x(static_cast<long long>(value));
    }
    static Bits load(const std::uint64_t* values)
    {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(values));
    }
    static void store(std::uint64_t* values, Bits lanes)
    {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(values), lanes);
    }
    static Bits plus(Bits a, Bits b) { return _mm256_add_epi64(a, b); }
    static Bits inclusiveOr(Bits a, Bits b) { return _mm256_or_si256(a, b); }
    static Bits exclusiveOr(Bits a, Bits b) { return _mm256_xor_si256(a, b); }
    // (a & mask) | b.
    static Bits maskedOr(Bits a, Bits mask, Bits b)
    {
        return _mm256_or_si256(_mm256_and_si256(a, mask), b);
    }
    static Bits shiftedRight(Bits a, int bits) { return _mm256_srli_epi64(a, bits); }
    static Bits shiftedLeft(Bits a, int bits) { return _mm256_slli_epi64(a, bits); }
    // The lanes' low 32 bits from `low`, their high 32 bits from `high`.
    static Bits halvesOf(Bits low, Bits high) { return _mm256_blend_epi32(low, high, 0xaa); }
    // Every 32-bit half rotated right by the same half of `by`, 0 to 31.
    static Bits rotated32(Bits a, Bits by)
    {
        const Bits back = _mm256_sub_epi32(_mm256_set1_epi32(32), by);
        return _mm256_or_si256(_mm256_srlv_epi32(a, by), _mm256_sllv_epi32(a, back));
    }

    // A 64-bit multiplier in the 32-bit halves AVX2 multiplies with: its low half, and both
    // halves swapped.
    struct Factor {
        Bits low;
        Bits swapped;
    };
    static Factor factor(std::uint64_t value)
    {
        return {bits(value & 0xffffffffu), bits(value << 32u | value >> 32u)};
    }
    // The low 64 bits of each lane's product: the low halves' whole product, and above it the
    // sum of the low 32 bits of the two cross products.
    static Bits times(Bits a, const Factor& factor)
    {
        const Bits cross = _mm256_mullo_epi32(a, factor.swapped);
        const Bits crossSum = _mm256_add_epi64(cross, _mm256_slli_epi64(cross, 32));
        return _mm256_add_epi64(_mm256_mul_epu32(a, factor.low),
                                _mm256_blend_epi32(_mm256_setzero_si256(), crossSum, 0xaa));
    }

    static Reals reals(double value) { return _mm256_set1_pd(value); }
    static Reals asReals(Bits a) { return _mm256_castsi256_pd(a); }
    static void store(double* values, Reals lanes) { _mm256_storeu_pd(values, lanes); }
    static Reals fusedMultiplyAdd(Reals a, Reals b, Reals c) { return _mm256_fmadd_pd(a, b, c); }
    static Reals times(Reals a, Reals b) { return _mm256_mul_pd(a, b); }
    static Reals minus(Reals a, Reals b) { return _mm256_sub_pd(a, b); }
    static Reals minimum(Reals a, Reals b) { return _mm256_min_pd(a, b); }
    static Reals maximum(Reals a, Reals b) { return _mm256_max_pd(a, b); }
    static Reals magnitude(Reals a) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a); }
    static Reals truncated(Reals a)
    {
        return _mm256_round_pd(a, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    }
    static Reals nearest(Reals a)
    {
        return _mm256_round_pd(a, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    }
    // Rounded to single precision and back, as a float variable holds it.
    static Reals singlePrecision(Reals a) { return _mm256_cvtps_pd(_mm256_cvtpd_ps(a)); }

    static Mask less(Reals a, Reals b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
    static Mask lessOrEqual(Reals a, Reals b) { return _mm256_cmp_pd(a, b, _CMP_LE_OQ); }
    static Mask greater(Reals a, Reals b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }
    // Bit i set where lane i holds.
    static unsigned laneBits(Mask mask) { return static_cast<unsigned>(_mm256_movemask_pd(mask)); }
};

}  // namespace buffon
