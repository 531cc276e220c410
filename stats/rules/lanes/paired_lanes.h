// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

// Two registers of Lanes' 64-bit lanes worked as one, every operation issued for both side by
// side: a needle's work is a long chain of dependent steps, and two independent chains keep the
// processor's units busy where one would leave them waiting. Included after Lanes' own header.

namespace buffon {

template <typename Lanes>
struct PairedLanes {
    static constexpr int kCount = 2 * Lanes::kCount;
    struct Bits {
        typename Lanes::Bits low, high;
    };
    struct Reals {
        typename Lanes::Reals low, high;
    };
    struct Mask {
        typename Lanes::Mask low, high;
    };
    using Factor = typename Lanes::Factor;

    [[gnu::always_inline]] static Bits bits(std::uint64_t value)
    {
        return {Lanes::bits(value), Lanes::bits(value)};
    }
    [[gnu::always_inline]] static Bits load(const std::uint64_t* values)
    {
        return {Lanes::load(values), Lanes::load(values + Lanes::kCount)};
    }
    [[gnu::always_inline]] static Bits plus(Bits a, Bits b)
    {
        return {Lanes::plus(a.low, b.low), Lanes::plus(a.high, b.high)};
    }
    [[gnu::always_inline]] static Bits inclusiveOr(Bits a, Bits b)
    {
        return {Lanes::inclusiveOr(a.low, b.low), Lanes::inclusiveOr(a.high, b.high)};
    }
    [[gnu::always_inline]] static Bits exclusiveOr(Bits a, Bits b)
    {
        return {Lanes::exclusiveOr(a.low, b.low), Lanes::exclusiveOr(a.high, b.high)};
    }
    [[gnu::always_inline]] static Bits shiftedRight(Bits a, int bits)
    {
        return {Lanes::shiftedRight(a.low, bits), Lanes::shiftedRight(a.high, bits)};
    }
    [[gnu::always_inline]] static Factor factor(std::uint64_t value)
    {
        return Lanes::factor(value);
    }
    [[gnu::always_inline]] static Bits times(Bits a, Factor factor)
    {
        return {Lanes::times(a.low, factor), Lanes::times(a.high, factor)};
    }

    [[gnu::always_inline]] static Reals all(double value)
    {
        return {Lanes::all(value), Lanes::all(value)};
    }
    [[gnu::always_inline]] static Reals asReals(Bits a)
    {
        return {Lanes::asReals(a.low), Lanes::asReals(a.high)};
    }
    [[gnu::always_inline]] static void store(double* values, Reals lanes)
    {
        Lanes::store(values, lanes.low);
        Lanes::store(values + Lanes::kCount, lanes.high);
    }
    [[gnu::always_inline]] static Reals fusedMultiplyAdd(Reals a, Reals b, Reals c)
    {
        return {Lanes::fusedMultiplyAdd(a.low, b.low, c.low),
                Lanes::fusedMultiplyAdd(a.high, b.high, c.high)};
    }
    [[gnu::always_inline]] static Reals times(Reals a, Reals b)
    {
        return {Lanes::times(a.low, b.low), Lanes::times(a.high, b.high)};
    }
    [[gnu::always_inline]] static Reals minus(Reals a, Reals b)
    {
        return {Lanes::minus(a.low, b.low), Lanes::minus(a.high, b.high)};
    }
    [[gnu::always_inline]] static Reals magnitude(Reals a)
    {
        return {Lanes::magnitude(a.low), Lanes::magnitude(a.high)};
    }
    [[gnu::always_inline]] static Mask lessOrEqual(Reals a, Reals b)
    {
        return {Lanes::lessOrEqual(a.low, b.low), Lanes::lessOrEqual(a.high, b.high)};
    }
    [[gnu::always_inline]] static unsigned laneBits(Mask mask)
    {
        return Lanes::laneBits(mask.low) | Lanes::laneBits(mask.high) << Lanes::kCount;
    }
};

}  // namespace buffon
