// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

// The textbook's needles counted in lanes. Included by the lane kernels below their
// `#pragma GCC target` line, after the headers it uses (see avx2_kernels.cpp).
//
// Why the lanes count exactly what isHit judges.
//
// A lane's draws are SplitMix64's outputs for its needle, made as doubles 1 + v in [1, 2), v
// the top 52 bits of the output times 2^-52, exactly. (1 + v) w - w is v w exactly, so the one
// rounding of the fused multiply-add gives the very distance v (D/2) and angle v (pi/2) that
// uniformOf and a product give. Only the sine differs: the lane's reach is the double nearest to
// (L/2) s for an s within kSineError of sin theta (angles lie in [0, pi/2), inside kSineDomain),
// isHit's the double nearest to (L/2) std::sin(theta), within an ulp of sin theta: the two differ
// by less than (L/2) (3.37e-9 + 5e-16). A distance farther than that from the lane's reach compares
// the same way with both. Needles within kNearBoundary (L/2) of it are judged again by isHit: the
// margin is hundreds of times the bound, and about two needles in a million take the slow way.

namespace buffon {

// 1 + v for SplitMix64's output from each lane's state.
template <typename Lanes>
[[gnu::always_inline]] inline typename Lanes::Reals geometricDrawPlusOne(
    typename Lanes::Bits state, typename Lanes::Factor mix1, typename Lanes::Factor mix2)
{
    using L = Lanes;
    auto z = L::times(L::exclusiveOr(state, L::shiftedRight(state, 30)), mix1);
    z = L::times(L::exclusiveOr(z, L::shiftedRight(z, 27)), mix2);
    z = L::exclusiveOr(z, L::shiftedRight(z, 31));
    return L::asReals(L::inclusiveOr(L::shiftedRight(z, 12), L::bits(kOneBits)));
}

template <typename Lanes>
std::int64_t countGeometricLanes(std::uint64_t state, std::int64_t blocks,
                                 const GeometricShape& shape)
{
    using L = Lanes;
    using Reals = typename L::Reals;
    // Needle i of the stream draws from the states 2i + 1 and 2i + 2 increments on.
    std::array<std::uint64_t, L::kCount> firstStates;
    for (std::size_t lane = 0; lane < firstStates.size(); ++lane) {
        firstStates[lane] = state + (2 * lane + 1) * kGamma;
    }
    auto distanceState = L::load(firstStates.data());
    const auto gamma = L::bits(kGamma);
    const auto toNextBlock = L::bits(2 * L::kCount * kGamma);
    const auto mix1 = L::factor(kMix1);
    const auto mix2 = L::factor(kMix2);
    const Reals halfSpacing = L::all(shape.halfSpacing);
    const Reals lessHalfSpacing = L::all(-shape.halfSpacing);
    const Reals halfPi = L::all(kHalfPi);
    const Reals lessHalfPi = L::all(-kHalfPi);
    const Reals zero = L::all(0.0);
    const Reals margin = L::all(shape.margin);
    const LaneSine<L, double, kSineCoefficients.size()> sine(kSineCoefficients, shape.halfLength);
    std::int64_t hits = 0;
    for (std::int64_t block = 0; block < blocks; ++block) {
        const Reals distance = L::fusedMultiplyAdd(
            geometricDrawPlusOne<L>(distanceState, mix1, mix2), halfSpacing, lessHalfSpacing);
        const Reals angle = L::fusedMultiplyAdd(
            geometricDrawPlusOne<L>(L::plus(distanceState, gamma), mix1, mix2), halfPi, lessHalfPi);
        const Reals reach = sine.timesPlus(angle, zero);
        const unsigned hit = L::laneBits(L::lessOrEqual(distance, reach));
        const unsigned near =
            L::laneBits(L::lessOrEqual(L::magnitude(L::minus(distance, reach)), margin));
        hits += std::popcount(hit & ~near);
        if (near != 0) {
            std::array<double, L::kCount> distances;
            std::array<double, L::kCount> angles;
            L::store(distances.data(), distance);
            L::store(angles.data(), angle);
            for (unsigned lanes = near; lanes != 0; lanes &= lanes - 1) {
                const auto lane = static_cast<std::size_t>(std::countr_zero(lanes));
                hits += isHit(distances[lane], angles[lane], shape.halfLength);
            }
        }
        distanceState = L::plus(distanceState, toNextBlock);
    }
    return hits;
}

}  // namespace buffon
