// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

// AVX-512's registers, with AVX-512DQ's 64-bit multiply, as the lane kernels use them: eight
// 64-bit lanes of bits or doubles, or sixteen lanes of floats, with the operations Avx2Lanes
// gives half as wide. Included only below a `#pragma GCC target("avx512f,avx512dq,popcnt")`,
// after every other header its includer needs (see avx512_kernels.cpp).

namespace buffon {

struct Avx512Lanes {
    static constexpr int kCount = 8;
    using Bits = __m512i;
    using Reals = __m512d;
    using Mask = __mmask8;
    using Floats = __m512;
    using FloatMask = __mmask16;

    [[gnu::always_inline]] static Bits bits(std::uint64_t value)
    {
        return _mm512_set1_epi64(static_cast<long long>(value));
    }
    [[gnu::always_inline]] static Bits load(const std::uint64_t* values)
    {
        return _mm512_loadu_si512(values);
    }
    [[gnu::always_inline]] static void store(std::uint64_t* values, Bits lanes)
    {
        _mm512_storeu_si512(values, lanes);
    }
    [[gnu::always_inline]] static Bits plus(Bits a, Bits b) { return _mm512_add_epi64(a, b); }
    [[gnu::always_inline]] static Bits inclusiveOr(Bits a, Bits b) { return _mm512_or_si512(a, b); }
    [[gnu::always_inline]] static Bits exclusiveOr(Bits a, Bits b)
    {
        return _mm512_xor_si512(a, b);
    }
    [[gnu::always_inline]] static Bits shiftedRight(Bits a, int bits)
    {
        return _mm512_srli_epi64(a, bits);
    }
    [[gnu::always_inline]] static Bits shiftedLeft(Bits a, int bits)
    {
        return _mm512_slli_epi64(a, bits);
    }
    [[gnu::always_inline]] static Bits halvesOf(Bits low, Bits high)
    {
        return _mm512_mask_blend_epi32(0xaaaa, low, high);
    }
    [[gnu::always_inline]] static Bits rotated32(Bits a, Bits by)
    {
        return _mm512_rorv_epi32(a, by);
    }
    // As in Avx2Lanes, in each 128 bits: a's lanes 0 and 1, b's 0 and 1; a's 2 and 3, b's 2 and
    // 3; and so on.
    [[gnu::always_inline]] static Bits lowHalves(Bits a, Bits b) { return shuffled<0x88>(a, b); }
    [[gnu::always_inline]] static Bits highHalves(Bits a, Bits b) { return shuffled<0xdd>(a, b); }
    [[gnu::always_inline]] static Floats floatsOf(Bits a, int shift)
    {
        return _mm512_cvtepi32_ps(_mm512_srli_epi32(a, shift));
    }

    using Factor = Bits;
    [[gnu::always_inline]] static Factor factor(std::uint64_t value) { return bits(value); }
    [[gnu::always_inline]] static Bits times(Bits a, Factor factor)
    {
        return _mm512_mullo_epi64(a, factor);
    }

    [[gnu::always_inline]] static Reals all(double value) { return _mm512_set1_pd(value); }
    [[gnu::always_inline]] static Reals asReals(Bits a) { return _mm512_castsi512_pd(a); }
    [[gnu::always_inline]] static void store(double* values, Reals lanes)
    {
        _mm512_storeu_pd(values, lanes);
    }
    [[gnu::always_inline]] static Reals fusedMultiplyAdd(Reals a, Reals b, Reals c)
    {
        return _mm512_fmadd_pd(a, b, c);
    }
    [[gnu::always_inline]] static Reals times(Reals a, Reals b) { return _mm512_mul_pd(a, b); }
    [[gnu::always_inline]] static Reals minus(Reals a, Reals b) { return _mm512_sub_pd(a, b); }
    [[gnu::always_inline]] static Reals magnitude(Reals a) { return _mm512_abs_pd(a); }
    [[gnu::always_inline]] static Mask lessOrEqual(Reals a, Reals b)
    {
        return _mm512_cmp_pd_mask(a, b, _CMP_LE_OQ);
    }
    [[gnu::always_inline]] static unsigned laneBits(Mask mask) { return mask; }

    [[gnu::always_inline]] static Floats all(float value) { return _mm512_set1_ps(value); }
    [[gnu::always_inline]] static Floats fusedMultiplyAdd(Floats a, Floats b, Floats c)
    {
        return _mm512_fmadd_ps(a, b, c);
    }
    [[gnu::always_inline]] static Floats times(Floats a, Floats b) { return _mm512_mul_ps(a, b); }
    [[gnu::always_inline]] static Floats plus(Floats a, Floats b) { return _mm512_add_ps(a, b); }
    [[gnu::always_inline]] static Floats minus(Floats a, Floats b) { return _mm512_sub_ps(a, b); }
    [[gnu::always_inline]] static Floats minimum(Floats a, Floats b) { return _mm512_min_ps(a, b); }
    [[gnu::always_inline]] static Floats maximum(Floats a, Floats b) { return _mm512_max_ps(a, b); }
    [[gnu::always_inline]] static Floats magnitude(Floats a) { return _mm512_abs_ps(a); }
    [[gnu::always_inline]] static Floats floor(Floats a)
    {
        return _mm512_roundscale_ps(a, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC);
    }
    [[gnu::always_inline]] static Floats truncated(Floats a)
    {
        return _mm512_roundscale_ps(a, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    }
    [[gnu::always_inline]] static FloatMask greater(Floats a, Floats b)
    {
        return _mm512_cmp_ps_mask(a, b, _CMP_GT_OQ);
    }
    [[gnu::always_inline]] static unsigned laneBits(FloatMask mask) { return mask; }

private:
    template <int kPick>
    [[gnu::always_inline]] static Bits shuffled(Bits a, Bits b)
    {
        return _mm512_castps_si512(
            _mm512_shuffle_ps(_mm512_castsi512_ps(a), _mm512_castsi512_ps(b), kPick));
    }
};

}  // namespace buffon
