// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

// A sine of our own, for the angles the bulk counters meet: |x| <= kSineDomain, a little more
// than pi. It is x (c0 + c1 x^2 + ... + c6 x^12), within a hair of the best polynomial of its
// degree over that range (Remez's exchange: its error swings between +-1.1458e-9). The counters
// set its values beside whole numbers or distances and count again, with std::sin, every needle
// that lies nearer to one than the error can reach; what they rest on is this bound:
//
//   LaneSine(scale).timesPlus(x, addend) is the double nearest to scale s + addend, for an s
//   within kSineError of sin x, whenever |x| <= kSineDomain, scale > 0, and scale c6 and the
//   products are normal doubles.
//
// Proof, with X = kSineDomain, p(x) = sum of c_k x^(2k+1) for the doubles c_k below, and
// u = 2^-53 the unit roundoff:
// 1. The polynomial. Taylor's polynomial T of degree 41 is within X^43/43! < 1e-31 of sin on
//    [-X, X]. T - p is a polynomial of degree 41; written in the Chebyshev polynomials of x/X,
//    whose values lie in [-1, 1] there, its coefficients (exact rationals, as T's and the c_k
//    are) sum in magnitude to less than 1.166933e-9, and so does |sin x - p(x)|.
// 2. The rounding. Term k of the computed value scale q x, before its last rounding, is
//    scale c_k x^(2k+1) times at most 2k + 2 factors (1 + d) with |d| <= u: the scaled
//    coefficient, the square x^2 taken k times, and the fused multiply-adds of Horner's rule
//    that it passes (six at most, each rounded once). Such a product of n factors lies within
//    g(n) = n u / (1 - n u) of 1, so |q x - p(x)| <= sum of |c_k| X^(2k+1) g(2k+2) < 5.4e-15.
//    The last fused multiply-add rounds scale q x + addend once, to the nearest double.
// So s = q x lies within 1.16694e-9 of sin x; kSineError rounds that up. tests/sine_bound.py
// works steps 1 and 2 out again from the coefficients as written here.
//
// Included by the lane kernels below their `#pragma GCC target` line (see avx2_kernels.cpp), and
// by the tests with lanes of plain doubles; its includer includes <array> first.

namespace buffon {

inline constexpr double kSineDomain = 3.1416;
inline constexpr double kSineError = 1.17e-9;
inline constexpr std::array<double, 7> kSineCoefficients{
    0x1.ffffffd0e4227p-1,  -0x1.55555288f8512p-3,  0x1.1110dfccccfeap-7,  -0x1.a01405dc42634p-13,
    0x1.717e7bcbab4c8p-19, -0x1.a7f2738510f5cp-26, 0x1.27cd0be4bde24p-33,
};

// The sine times a fixed scale, in every lane of Lanes' registers.
template <typename Lanes>
class LaneSine {
public:
    using Reals = typename Lanes::Reals;

    explicit LaneSine(double scale)
    {
        for (std::size_t k = 0; k < kSineCoefficients.size(); ++k) {
            coefficients_[k] = Lanes::reals(kSineCoefficients[k] * scale);
        }
    }

    // scale sin(x) + addend, as the bound above says.
    [[gnu::always_inline]] Reals timesPlus(Reals x, Reals addend) const
    {
        const Reals square = Lanes::times(x, x);
        Reals sum = coefficients_[kSineCoefficients.size() - 1];
        for (std::size_t k = kSineCoefficients.size() - 1; k-- > 0;) {
            sum = Lanes::fusedMultiplyAdd(sum, square, coefficients_[k]);
        }
        return Lanes::fusedMultiplyAdd(sum, x, addend);
    }

private:
    Reals coefficients_[kSineCoefficients.size()];
};

}  // namespace buffon
