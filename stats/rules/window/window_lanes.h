// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

// The window's needles counted in lanes. Included by the lane kernels below their
// `#pragma GCC target` line, after the headers it uses (see avx2_kernels.cpp).
//
// Why the lanes count exactly what verticalOutcome does.
//
// Draws. Lane i's two states are the ones its needle's second and fourth draws come from, and
// a block's stride steps each to the same draw of the needle a block further on. A draw
// u = (bits >> 8) 2^-24 is made as the double 1 + u, its 24 bits put under the exponent of 1.
//
// Start height. (1 + u) 400 - 360 is 400 u + 40 exactly, so the one rounding of the fused
// multiply-add gives the very double that startCoordinate rounds to float; the lane rounds it
// to float the same way.
//
// End height. The lane's turn t = (pi + span) - (1 + u) span, with its two roundings, lies within
// 1.8e-15 of pi - a for verticalOutcome's angle a = u span (rounded), and sin(pi - a) = sin a;
// |t| < kSineDomain. So the lane's end height is the double nearest to y + 40 s for an s within
// kSineError + 1.8e-15 of sin a, and verticalOutcome's is within an ulp of 40 sin a (std::sin's
// ulp and the product's) and an ulp of 480 of y + 40 sin a: the two differ by less than 4.7e-8.
// A lane whose end height lies within kNearWhole = 1e-6 of a whole number is counted again by
// verticalOutcome itself; every other lane's end height floors as verticalOutcome's does.
//
// The hit. verticalOutcome's rule, a line L from floor(low) to floor(high) for the lower and the
// higher of the start and end heights, is the same as low - 1 < L <= high, for a whole L:
// floor(v) <= L exactly when v < L + 1, and L <= floor(v) exactly when L <= v. Every height lies
// in [0, 480): starts in [40, 440), the reach 40, and the lane's end within 4.7e-8 of
// verticalOutcome's (a lane's end below 0 is near 0). So the lines at or below a height h number
// trunc(h / 80), also for h in (-1, 0), where trunc gives 0. The lane takes trunc(h c), with c the
// double nearest 1/80, and fma(low, c, -c), (low - 1) c rounded once. c lies above 1/80, so for h
// a multiple of 80 (or low - 1 one), h c rounds to the whole number h / 80, not below it (the
// static_assert below). Any other height the lane tests lies farther from a multiple of 80 than
// the roundings reach: a start height is a float, at least 2^-17 from every whole number it is
// not equal to, and an end height not counted again at least kNearWhole.

namespace buffon {

inline constexpr double kNearWhole = 1e-6;
inline constexpr double kPerLine = 1.0 / kLineSpacing;

static_assert([] {
    for (const int line : kRuledLines) {
        if (line * kPerLine < line / kLineSpacing) {
            return false;
        }
    }
    return true;
}());

// The start heights, and pi less the angles, of the needles whose two draws come from each
// lane's two states.
template <typename Lanes>
[[gnu::always_inline]] inline std::pair<typename Lanes::Reals, typename Lanes::Reals>
windowStartsAndTurns(typename Lanes::Bits startYState, typename Lanes::Bits angleState)
{
    using L = Lanes;
    // bitsOf: the xorshifted state's bits 27 to 58, rotated right by the state's top five bits;
    // worked out for both states at once, the start height's in the lanes' low halves.
    const auto startYMixed = L::exclusiveOr(L::shiftedRight(startYState, 18), startYState);
    const auto angleMixed = L::exclusiveOr(L::shiftedRight(angleState, 18), angleState);
    const auto bits = L::rotated32(
        L::halvesOf(L::shiftedRight(startYMixed, 27), L::shiftedLeft(angleMixed, 5)),
        L::halvesOf(L::shiftedRight(startYState, 59), L::shiftedRight(angleState, 27)));
    // valueOf: the top 24 bits of each half, here put under the exponent of 1.0 (at bits 28 to
    // 51) to make 1 + u.
    const auto mantissa = L::bits(0x000ffffff0000000u);
    const auto one = L::bits(std::bit_cast<std::uint64_t>(1.0));
    const auto startYDraw = L::asReals(L::maskedOr(L::shiftedLeft(bits, 20), mantissa, one));
    const auto angleDraw = L::asReals(L::maskedOr(L::shiftedRight(bits, 12), mantissa, one));
    return {L::singlePrecision(L::fusedMultiplyAdd(startYDraw, L::reals(kPositionSpan),
                                                   L::reals(kPositionOffset - kPositionSpan))),
            L::fusedMultiplyAdd(angleDraw, L::reals(-kAngleSpan),
                                L::reals(std::numbers::pi + kAngleSpan))};
}

template <typename Lanes>
std::int64_t countWindowLanes(const WindowLanes& lanes, std::int64_t blocks)
{
    using L = Lanes;
    using Reals = typename L::Reals;
    const auto stride = L::factor(lanes.toNextBlock.multiplier);
    const auto increment = L::bits(lanes.toNextBlock.increment);
    const LaneSine<L> sine(kNeedleReach);
    const Reals perLine = L::reals(kPerLine);
    const Reals lessPerLine = L::reals(-kPerLine);
    const Reals nearWhole = L::reals(kNearWhole);
    auto startYState = L::load(lanes.startYStates.data());
    auto angleState = L::load(lanes.angleStates.data());
    auto [startY, turn] = windowStartsAndTurns<L>(startYState, angleState);
    std::int64_t hits = 0;
    for (std::int64_t block = 0; block < blocks; ++block) {
        // The next block's draws are worked out beside this one's count: the two long chains of
        // dependent steps overlap.
        const auto nextStartYState = L::plus(L::times(startYState, stride), increment);
        const auto nextAngleState = L::plus(L::times(angleState, stride), increment);
        const auto [nextStartY, nextTurn] =
            windowStartsAndTurns<L>(nextStartYState, nextAngleState);
        const Reals endY = sine.timesPlus(turn, startY);
        const Reals low = L::minimum(startY, endY);
        const Reals high = L::maximum(startY, endY);
        const auto hit = L::greater(L::truncated(L::times(high, perLine)),
                                    L::truncated(L::fusedMultiplyAdd(low, perLine, lessPerLine)));
        const unsigned near =
            L::laneBits(L::less(L::magnitude(L::minus(endY, L::nearest(endY))), nearWhole));
        hits += std::popcount(L::laneBits(hit) & ~near);
        if (near != 0) {
            std::array<std::uint64_t, L::kCount> startYStates;
            std::array<std::uint64_t, L::kCount> angleStates;
            L::store(startYStates.data(), startYState);
            L::store(angleStates.data(), angleState);
            for (unsigned lanes = near; lanes != 0; lanes &= lanes - 1) {
                const auto lane = static_cast<std::size_t>(std::countr_zero(lanes));
                hits += verticalOutcome(UniformRandomSource::valueOf(
                                            UniformRandomSource::bitsOf(startYStates[lane])),
                                        UniformRandomSource::valueOf(UniformRandomSource::bitsOf(
                                            angleStates[lane]))) == Outcome::Hit;
            }
        }
        startYState = nextStartYState;
        angleState = nextAngleState;
        startY = nextStartY;
        turn = nextTurn;
    }
    return hits;
}

}  // namespace buffon
