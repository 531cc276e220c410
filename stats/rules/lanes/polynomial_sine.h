// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

// The sines of our own the lane kernels take: odd polynomials x (c0 + c1 x^2 + ...), each within
// a hair of the best of its degree over the angles its counter meets. The counters set its
// values beside whole numbers or distances and count again, with std::sin, every needle that
// lies nearer to one than the polynomial's error can reach; what they rest on is that error's
// bound, proved beside the coefficients (the window's in window_lanes.h).
//
// Included by the lane kernels below their `#pragma GCC target` line (see avx2_kernels.cpp), and
// by the tests with lanes of one plain number; its includer includes <array> first.
//
// The textbook's sine, for its acute angles, |x| <= kSineDomain, a little more than pi/2: the
// polynomial of degree 9 from Remez's exchange, whose error swings between +-3.3382e-9. The bound:
//
//   LaneSine(kSineCoefficients, scale).timesPlus(x, addend) is the double nearest to
//   scale s + addend, for an s within kSineError of sin x, whenever |x| <= kSineDomain,
//   scale > 0, and scale c4 and the products are normal doubles.
//
// Proof, with X = kSineDomain, p(x) = sum of c_k x^(2k+1) for the doubles c_k below, and
// u = 2^-53 the unit roundoff:
// 1. The polynomial. Taylor's polynomial T of degree 41 is within X^43/43! < 1e-31 of sin on
//    [-X, X]. T - p is a polynomial of degree 41; written in the Chebyshev polynomials of x/X,
//    whose values lie in [-1, 1] there, its coefficients (exact rationals, as T's and the c_k
//    are) sum in magnitude to less than 3.36483e-9, and so does |sin x - p(x)|.
// 2. The rounding. Term k of the computed value scale q x, before its last rounding, is
//    scale c_k x^(2k+1) times at most 2k + 2 factors (1 + d) with |d| <= u: the scaled
//    coefficient, the square x^2 taken k times, and the fused multiply-adds of Horner's rule
//    that it passes (four at most, each rounded once). Such a product of n factors lies within
//    g(n) = n u / (1 - n u) of 1, so |q x - p(x)| <= sum of |c_k| X^(2k+1) g(2k+2) < 7e-16.
//    The last fused multiply-add rounds scale q x + addend once, to the nearest double.
// So s = q x lies within 3.36483e-9 of sin x; kSineError rounds that up. tests/sine_bound.py
// works steps 1 and 2 out again from the coefficients as written here.

namespace buffon {

inline constexpr double kSineDomain = 1.5708;
inline constexpr double kSineError = 3.37e-9;
inline constexpr std::array<double, 5> kSineCoefficients{
    0x1.ffffff36e7801p-1,   -0x1.55553bc9ddd41p-3, 0x1.110d6e195e4fap-7,
    -0x1.9f41423003b16p-13, 0x1.5bb07b9e71a97p-19,
};

// An odd polynomial times a fixed scale, in every lane of Lanes' registers of `Real`s.
template <typename Lanes, typename Real, std::size_t kTerms>
class LaneSine {
public:
    using Values = decltype(Lanes::all(Real{}));

    [[gnu::always_inline]] LaneSine(const std::array<Real, kTerms>& coefficients, Real scale)
    {
        for (std::size_t k = 0; k < kTerms; ++k) {
            coefficients_[k] = Lanes::all(coefficients[k] * scale);
        }
    }

    // scale x (c0 + c1 x^2 + ...) + addend, by Horner's rule in x^2, each step and the last
    // product and sum one fused multiply-add.
    [[gnu::always_inline]] Values timesPlus(Values x, Values addend) const
    {
        const Values square = Lanes::times(x, x);
        Values sum = coefficients_[kTerms - 1];
        for (std::size_t k = kTerms - 1; k-- > 0;) {
            sum = Lanes::fusedMultiplyAdd(sum, square, coefficients_[k]);
        }
        return Lanes::fusedMultiplyAdd(sum, x, addend);
    }

private:
    Values coefficients_[kTerms];
};

}  // namespace buffon
