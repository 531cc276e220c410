// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

// AVX2's registers, with the fused multiply-add of FMA, as the lane kernels use them: four
// 64-bit lanes of bits or doubles, or eight lanes of floats. Included only below a
// `#pragma GCC target("avx2,fma,popcnt")`, after every other header its includer needs (see
// avx2_kernels.cpp). Every operation is inlined, in unoptimised builds too, where a call apiece
// would make the sanitizers' runs crawl.

namespace buffon {

struct Avx2Lanes {
    static constexpr int kCount = 4;
    using Bits = __m256i;
    using Reals = __m256d;
    using Mask = __m256d;  // every bit of a lane set where it holds
    using Floats = __m256;
    using FloatMask = __m256;

    [[gnu::always_inline]] static Bits bits(std::uint64_t value)
    {
        return _mm256_set1_epi64x(static_cast<long long>(value));
    }
    [[gnu::always_inline]] static Bits load(const std::uint64_t* values)
    {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(values));
    }
    [[gnu::always_inline]] static void store(std::uint64_t* values, Bits lanes)
    {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(values), lanes);
    }
    [[gnu::always_inline]] static Bits plus(Bits a, Bits b) { return _mm256_add_epi64(a, b); }
    [[gnu::always_inline]] static Bits inclusiveOr(Bits a, Bits b) { return _mm256_or_si256(a, b); }
    [[gnu::always_inline]] static Bits exclusiveOr(Bits a, Bits b)
    {
        return _mm256_xor_si256(a, b);
    }
    [[gnu::always_inline]] static Bits shiftedRight(Bits a, int bits)
    {
        return _mm256_srli_epi64(a, bits);
    }
    [[gnu::always_inline]] static Bits shiftedLeft(Bits a, int bits)
    {
        return _mm256_slli_epi64(a, bits);
    }
    // The lanes' low 32 bits from `low`, their high 32 bits from `high`.
    [[gnu::always_inline]] static Bits halvesOf(Bits low, Bits high)
    {
        return _mm256_blend_epi32(low, high, 0xaa);
    }
    // Every 32-bit half rotated right by the same half of `by`, 0 to 31.
    [[gnu::always_inline]] static Bits rotated32(Bits a, Bits by)
    {
        const Bits back = _mm256_sub_epi32(_mm256_set1_epi32(32), by);
        return _mm256_or_si256(_mm256_srlv_epi32(a, by), _mm256_sllv_epi32(a, back));
    }
    // The low halves of a's lanes and of b's, as 32-bit lanes: a's lanes 0 and 1, b's 0 and 1,
    // then a's 2 and 3, b's 2 and 3. The high halves likewise.
    [[gnu::always_inline]] static Bits lowHalves(Bits a, Bits b) { return shuffled<0x88>(a, b); }
    [[gnu::always_inline]] static Bits highHalves(Bits a, Bits b) { return shuffled<0xdd>(a, b); }
    // Every 32-bit lane shifted right, and read as a whole number into a float.
    [[gnu::always_inline]] static Floats floatsOf(Bits a, int shift)
    {
        return _mm256_cvtepi32_ps(_mm256_srli_epi32(a, shift));
    }

    // A 64-bit multiplier in the 32-bit halves AVX2 multiplies with: its low half, and both
    // halves swapped.
    struct Factor {
        Bits low;
        Bits swapped;
    };
    [[gnu::always_inline]] static Factor factor(std::uint64_t value)
    {
        return {bits(value & 0xffffffffu), bits(value << 32u | value >> 32u)};
    }
    // The low 64 bits of each lane's product: the low halves' whole product, and above it the
    // sum of the low 32 bits of the two cross products.
    [[gnu::always_inline]] static Bits times(Bits a, Factor factor)
    {
        const Bits cross = _mm256_mullo_epi32(a, factor.swapped);
        const Bits crossSum = _mm256_add_epi64(cross, _mm256_slli_epi64(cross, 32));
        return _mm256_add_epi64(_mm256_mul_epu32(a, factor.low),
                                _mm256_blend_epi32(_mm256_setzero_si256(), crossSum, 0xaa));
    }

    [[gnu::always_inline]] static Reals all(double value) { return _mm256_set1_pd(value); }
    [[gnu::always_inline]] static Reals asReals(Bits a) { return _mm256_castsi256_pd(a); }
    [[gnu::always_inline]] static void store(double* values, Reals lanes)
    {
        _mm256_storeu_pd(values, lanes);
    }
    [[gnu::always_inline]] static Reals fusedMultiplyAdd(Reals a, Reals b, Reals c)
    {
        return _mm256_fmadd_pd(a, b, c);
    }
    [[gnu::always_inline]] static Reals times(Reals a, Reals b) { return _mm256_mul_pd(a, b); }
    [[gnu::always_inline]] static Reals minus(Reals a, Reals b) { return _mm256_sub_pd(a, b); }
    [[gnu::always_inline]] static Reals magnitude(Reals a)
    {
        return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a);
    }
    [[gnu::always_inline]] static Mask lessOrEqual(Reals a, Reals b)
    {
        return _mm256_cmp_pd(a, b, _CMP_LE_OQ);
    }
    // Bit i set where lane i holds.
    [[gnu::always_inline]] static unsigned laneBits(Mask mask)
    {
        return static_cast<unsigned>(_mm256_movemask_pd(mask));
    }

    [[gnu::always_inline]] static Floats all(float value) { return _mm256_set1_ps(value); }
    [[gnu::always_inline]] static Floats fusedMultiplyAdd(Floats a, Floats b, Floats c)
    {
        return _mm256_fmadd_ps(a, b, c);
    }
    [[gnu::always_inline]] static Floats times(Floats a, Floats b) { return _mm256_mul_ps(a, b); }
    [[gnu::always_inline]] static Floats plus(Floats a, Floats b) { return _mm256_add_ps(a, b); }
    [[gnu::always_inline]] static Floats minus(Floats a, Floats b) { return _mm256_sub_ps(a, b); }
    [[gnu::always_inline]] static Floats minimum(Floats a, Floats b) { return _mm256_min_ps(a, b); }
    [[gnu::always_inline]] static Floats maximum(Floats a, Floats b) { return _mm256_max_ps(a, b); }
    [[gnu::always_inline]] static Floats magnitude(Floats a)
    {
        return _mm256_andnot_ps(_mm256_set1_ps(-0.0f), a);
    }
    [[gnu::always_inline]] static Floats floor(Floats a)
    {
        return _mm256_round_ps(a, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
    }
    [[gnu::always_inline]] static Floats truncated(Floats a)
    {
        return _mm256_round_ps(a, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    }
    [[gnu::always_inline]] static FloatMask greater(Floats a, Floats b)
    {
        return _mm256_cmp_ps(a, b, _CMP_GT_OQ);
    }
    [[gnu::always_inline]] static unsigned laneBits(FloatMask mask)
    {
        return static_cast<unsigned>(_mm256_movemask_ps(mask));
    }

private:
    template <int kPick>
    [[gnu::always_inline]] static Bits shuffled(Bits a, Bits b)
    {
        return _mm256_castps_si256(
            _mm256_shuffle_ps(_mm256_castsi256_ps(a), _mm256_castsi256_ps(b), kPick));
    }
};

}  // namespace buffon
