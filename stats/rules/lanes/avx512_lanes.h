// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

// Eight 64-bit lanes in AVX-512's registers, with AVX-512DQ's 64-bit multiply: the operations
// the lane kernels are written in, as Avx2Lanes gives them four lanes wide. Included only below
// a `#pragma GCC target("avx512f,avx512dq")`, after every other header its includer needs (see
// avx512_kernels.cpp).

namespace buffon {

struct Avx512Lanes {
    static constexpr int kCount = 8;
    using Bits = __m512i;
    using Reals = __m512d;
    using Mask = __mmask8;

    static Bits bits(std::uint64_t value)
    {
        return _mm512_set1_epi64(static_cast<long long>(value));
    }
    static Bits load(const std::uint64_t* values) { return _mm512_loadu_si512(values); }
    static void store(std::uint64_t* values, Bits lanes) { _mm512_storeu_si512(values, lanes); }
    static Bits plus(Bits a, Bits b) { return _mm512_add_epi64(a, b); }
    static Bits inclusiveOr(Bits a, Bits b) { return _mm512_or_si512(a, b); }
    static Bits exclusiveOr(Bits a, Bits b) { return _mm512_xor_si512(a, b); }
    // (a & mask) | b, in one instruction: 0xea is the truth table of that expression.
    static Bits maskedOr(Bits a, Bits mask, Bits b)
    {
        return _mm512_ternarylogic_epi64(a, mask, b, 0xea);
    }
    static Bits shiftedRight(Bits a, int bits) { return _mm512_srli_epi64(a, bits); }
    static Bits shiftedLeft(Bits a, int bits) { return _mm512_slli_epi64(a, bits); }
    // The lanes' low 32 bits from `low`, their high 32 bits from `high`.
    static Bits halvesOf(Bits low, Bits high) { return _mm512_mask_blend_epi32(0xaaaa, low, high); }
    // Every 32-bit half rotated right by the same half of `by`, 0 to 31.
    static Bits rotated32(Bits a, Bits by) { return _mm512_rorv_epi32(a, by); }

    using Factor = Bits;
    static Factor factor(std::uint64_t value) { return bits(value); }
    // The low 64 bits of each lane's product.
    static Bits times(Bits a, Factor factor) { return _mm512_mullo_epi64(a, factor); }

    static Reals reals(double value) { return _mm512_set1_pd(value); }
    static Reals asReals(Bits a) { return _mm512_castsi512_pd(a); }
    static void store(double* values, Reals lanes) { _mm512_storeu_pd(values, lanes); }
    static Reals fusedMultiplyAdd(Reals a, Reals b, Reals c) { return _mm512_fmadd_pd(a, b, c); }
    static Reals times(Reals a, Reals b) { return _mm512_mul_pd(a, b); }
    static Reals minus(Reals a, Reals b) { return _mm512_sub_pd(a, b); }
    static Reals minimum(Reals a, Reals b) { return _mm512_min_pd(a, b); }
    static Reals maximum(Reals a, Reals b) { return _mm512_max_pd(a, b); }
    static Reals magnitude(Reals a) { return _mm512_abs_pd(a); }
    static Reals truncated(Reals a)
    {
        return _mm512_roundscale_pd(a, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    }
    static Reals nearest(Reals a)
    {
        return _mm512_roundscale_pd(a, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    }
    // Rounded to single precision and back, as a float variable holds it.
    static Reals singlePrecision(Reals a) { return _mm512_cvtps_pd(_mm512_cvtpd_ps(a)); }

    static Mask less(Reals a, Reals b) { return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ); }
    static Mask lessOrEqual(Reals a, Reals b) { return _mm512_cmp_pd_mask(a, b, _CMP_LE_OQ); }
    static Mask greater(Reals a, Reals b) { return _mm512_cmp_pd_mask(a, b, _CMP_GT_OQ); }
    // Bit i set where lane i holds.
    static unsigned laneBits(Mask mask) { return mask; }
};

}  // namespace buffon
