// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

// The window's needles counted in lanes: the generator in 64-bit lanes, two registers of them
// for each of the two draws the hit rule reads, and the rest in float lanes, as many as both
// registers hold needles. Included by the lane kernels below their `#pragma GCC target` line,
// after the headers it uses (see avx2_kernels.cpp), and by the tests for the sine.
//
// Why the lanes count exactly what verticalOutcome does.
//
// Draws. A lane's two states are the ones its needle's second and fourth draws come from, and
// a block's stride steps each to the same draw of the needle a block further on. A draw is
// u = v 2^-24 for the top 24 bits v of the 32 bitsOf gives, and a float holds v exactly.
//
// Start height. v 25 2^-20 + 40 is 400 u + 40 exactly, so the one rounding of the fused
// multiply-add gives the float startCoordinate gives (its double holds 400 u + 40 exactly). The
// lane takes the start's whole units w = floor(y) and its fraction f = y - w, both exact.
//
// End height. The lane works out d = f + 40 sin a in one fused multiply-add, d = round(p + f),
// with p the window's sine polynomial times its turn t, pi - a (sin(pi - a) = sin a), as floats.
// t, and so p, are functions of the angle draw alone, one of 2^24: tst_counters works p out
// for every one of them with these very operations (correctly rounded, so the same on every
// processor), and finds round(p) within kWindowSineError of 40 sin a for verticalOutcome's
// angle a. So |p - 40 sin a| < kWindowSineError + 1.9e-6 (half a float ulp below 64), d adds
// one more such rounding, and verticalOutcome's end height lies within 2e-13 of y + 40 sin a
// (an ulp of 40 from std::sin and the product, an ulp of 480 from the sum): w + d lies within
// kWindowSineError + 3.9e-6 of verticalOutcome's end height. A lane whose d lies within
// kNearWhole of a whole number is counted again by verticalOutcome itself; every other lane's
// w + floor(d) is the floor of verticalOutcome's end height (static_assert below).
//
// The hit. On whole units, the lines from the lower L to the higher H of the two are the lines
// at or below H less those at or below L - 1; for a whole h from -1 to 479 (every end lies in
// [0, 480): starts in [40, 440), the reach 40), the lines at or below h number trunc(h c), c a
// little more than 1/80, as the static_assert below works out for every one.

namespace buffon {

// sin x for |x| <= pi, times 40: the polynomial of degree 11 closest to it whose coefficients
// are floats (Remez's exchange, rounding one coefficient at a time), within 3.9e-6 of it.
inline constexpr std::array<float, 6> kWindowSineCoefficients{
    0x1.3ffff8p+5f,  -0x1.aaa9fp+2f,  0x1.554bb8p-2f,
    -0x1.03a3b4p-7f, 0x1.c4fbb4p-14f, -0x1.b57cc2p-21f,
};
inline constexpr float kWindowSineError = 2.8e-5f;
inline constexpr float kNearWhole = 1e-4f;
static_assert(kNearWhole > kWindowSineError + 3.9e-6f);

// The turn pi - a for a draw of v 2^-24.
inline constexpr float kTurnPerDraw = static_cast<float>(-kAngleSpan * 0x1p-24);
inline constexpr float kTurnOfNone = static_cast<float>(std::numbers::pi);

inline constexpr float kPerLine = 1.0f / kLineSpacing + 0x1p-20f;
static_assert([] {
    for (int height = -1; height < kPositionOffset + kPositionSpan + kNeedleReach; ++height) {
        const auto lines =
            std::count_if(kRuledLines.begin(), kRuledLines.end(), [height](int line) {
                return line <= height;
            });
        if (static_cast<int>(static_cast<float>(height) * kPerLine) != lines) {
            return false;
        }
    }
    return true;
}());

template <typename Lanes>
[[gnu::always_inline]] inline typename Lanes::Floats windowTurn(typename Lanes::Floats angleDraw)
{
    return Lanes::fusedMultiplyAdd(angleDraw, Lanes::all(kTurnPerDraw), Lanes::all(kTurnOfNone));
}

// Float lane j of a block holds needle windowNeedleOf<Lanes>(j) of it: the 32-bit halves of two
// registers of 64-bit lanes go into one of float lanes four at a time (see lowHalves). A template,
// as everything here, so that each instruction set's copy stays its own.
template <typename Lanes>
constexpr std::size_t windowNeedleOf(std::size_t floatLane)
{
    const std::size_t group = floatLane / 4;
    const std::size_t place = floatLane % 4;
    return place / 2 * Lanes::kCount + 2 * group + place % 2;
}

// A block's two registers of each chain of states, its needles 0 to kCount - 1 and kCount on.
template <typename Lanes>
struct WindowStates {
    typename Lanes::Bits startY[2];
    typename Lanes::Bits angle[2];
};

// A block's two draws, as floats: std::pair would hold them in code built for any processor.
template <typename Lanes>
struct WindowDraws {
    typename Lanes::Floats startY;
    typename Lanes::Floats angle;
};

// The draws, times 2^24, of each lane's two states: bitsOf, the xorshifted state's bits 27 to 58
// rotated right by its top five bits, worked out for both states of a lane at once (the start
// height's in the lane's low half), then their top 24 bits.
template <typename Lanes>
[[gnu::always_inline]] inline WindowDraws<Lanes> windowDraws(const WindowStates<Lanes>& states)
{
    using L = Lanes;
    typename L::Bits bits[2];
    for (int r = 0; r < 2; ++r) {
        const auto startY = states.startY[r];
        const auto angle = states.angle[r];
        const auto startYMixed = L::exclusiveOr(L::shiftedRight(startY, 18), startY);
        const auto angleMixed = L::exclusiveOr(L::shiftedRight(angle, 18), angle);
        bits[r] = L::rotated32(
            L::halvesOf(L::shiftedRight(startYMixed, 27), L::shiftedLeft(angleMixed, 5)),
            L::halvesOf(L::shiftedRight(startY, 59), L::shiftedRight(angle, 27)));
    }
    return {L::floatsOf(L::lowHalves(bits[0], bits[1]), 8),
            L::floatsOf(L::highHalves(bits[0], bits[1]), 8)};
}

template <typename Lanes>
std::int64_t countWindowLanes(const WindowLanes& lanes, std::int64_t blocks)
{
    using L = Lanes;
    using Floats = typename L::Floats;
    constexpr std::size_t kNeedles = 2 * L::kCount;
    const auto stride = L::factor(lanes.toNextBlock.multiplier);
    const auto increment = L::bits(lanes.toNextBlock.increment);
    const LaneSine<L, float, kWindowSineCoefficients.size()> sine(kWindowSineCoefficients, 1.0f);
    const Floats perDraw = L::all(kPositionSpan * 0x1p-24f);
    const Floats offset = L::all(kPositionOffset);
    const Floats half = L::all(0.5f);
    const Floats farFromWhole = L::all(0.5f - kNearWhole);
    const Floats perLine = L::all(kPerLine);
    const Floats lessPerLine = L::all(-kPerLine);
    WindowStates<L> states;
    for (int r = 0; r < 2; ++r) {
        states.startY[r] = L::load(lanes.startYStates.data() + r * L::kCount);
        states.angle[r] = L::load(lanes.angleStates.data() + r * L::kCount);
    }
    std::int64_t hits = 0;
    for (std::int64_t block = 0; block < blocks; ++block) {
        const auto [startYDraw, angleDraw] = windowDraws<L>(states);
        const Floats startY = L::fusedMultiplyAdd(startYDraw, perDraw, offset);
        const Floats startUnits = L::floor(startY);
        const Floats drop = sine.timesPlus(windowTurn<L>(angleDraw), L::minus(startY, startUnits));
        const Floats dropUnits = L::floor(drop);
        const Floats endUnits = L::plus(startUnits, dropUnits);
        const Floats low = L::minimum(startUnits, endUnits);
        const Floats high = L::maximum(startUnits, endUnits);
        const auto hit = L::greater(L::truncated(L::times(high, perLine)),
                                    L::truncated(L::fusedMultiplyAdd(low, perLine, lessPerLine)));
        const unsigned near = L::laneBits(
            L::greater(L::magnitude(L::minus(L::minus(drop, dropUnits), half)), farFromWhole));
        hits += std::popcount(L::laneBits(hit) & ~near);
        if (near != 0) {
            std::array<std::uint64_t, kNeedles> startYStates;
            std::array<std::uint64_t, kNeedles> angleStates;
            for (int r = 0; r < 2; ++r) {
                L::store(startYStates.data() + r * L::kCount, states.startY[r]);
                L::store(angleStates.data() + r * L::kCount, states.angle[r]);
            }
            for (unsigned lanes = near; lanes != 0; lanes &= lanes - 1) {
                const std::size_t needle =
                    windowNeedleOf<L>(static_cast<std::size_t>(std::countr_zero(lanes)));
                hits += verticalOutcome(UniformRandomSource::valueOf(
                                            UniformRandomSource::bitsOf(startYStates[needle])),
                                        UniformRandomSource::valueOf(UniformRandomSource::bitsOf(
                                            angleStates[needle]))) == Outcome::Hit;
            }
        }
        for (int r = 0; r < 2; ++r) {
            states.startY[r] = L::plus(L::times(states.startY[r], stride), increment);
            states.angle[r] = L::plus(L::times(states.angle[r], stride), increment);
        }
    }
    return hits;
}

}  // namespace buffon
