// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

// Two registers of Lanes' lanes worked as one, every operation issued for both side by side:
// a needle's work is a long chain of dependent steps, and two independent chains keep the
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

    static Bits bits(std::uint64_t value) { return {Lanes::bits(value), Lanes::bits(value)}; }
    static Bits load(const std::uint64_t* values)
    {
        return {Lanes::load(values), Lanes::load(values + Lanes::kCount)};
    }
    static void store(std::uint64_t* values, const Bits& lanes)
    {
        Lanes::store(values, lanes.low);
        Lanes::store(values + Lanes::kCount, lanes.high);
    }
    static Bits plus(const Bits& a, const Bits& b)
    {
        return {Lanes::plus(a.low, b.low), Lanes::plus(a.high, b.high)};
    }
    static Bits inclusiveOr(const Bits& a, const Bits& b)
    {
        return {Lanes::inclusiveOr(a.low, b.low), Lanes::inclusiveOr(a.high, b.high)};
    }
    static Bits exclusiveOr(const Bits& a, const Bits& b)
    {
        return {Lanes::exclusiveOr(a.low, b.low), Lanes::exclusiveOr(a.high, b.high)};
    }
    static Bits maskedOr(const Bits& a, const Bits& mask, const Bits& b)
    {
        return {Lanes::maskedOr(a.low, mask.low, b.low),
                Lanes::maskedOr(a.high, mask.high, b.high)};
    }
    static Bits shiftedRight(const Bits& a, int bits)
    {
        return {Lanes::shiftedRight(a.low, bits), Lanes::shiftedRight(a.high, bits)};
    }
    static Bits shiftedLeft(const Bits& a, int bits)
    {
        return {Lanes::shiftedLeft(a.low, bits), Lanes::shiftedLeft(a.high, bits)};
    }
    static Bits halvesOf(const Bits& low, const Bits& high)
    {
        return {Lanes::halvesOf(low.low, high.low), Lanes::halvesOf(low.high, high.high)};
    }
    static Bits rotated32(const Bits& a, const Bits& by)
    {
        return {Lanes::rotated32(a.low, by.low), Lanes::rotated32(a.high, by.high)};
    }
    static Factor factor(std::uint64_t value) { return Lanes::factor(value); }
    static Bits times(const Bits& a, const Factor& factor)
    {
        return {Lanes::times(a.low, factor), Lanes::times(a.high, factor)};
    }

    static Reals reals(double value) { return {Lanes::reals(value), Lanes::reals(value)}; }
    static Reals asReals(const Bits& a) { return {Lanes::asReals(a.low), Lanes::asReals(a.high)}; }
    static void store(double* values, const Reals& lanes)
    {
        Lanes::store(values, lanes.low);
        Lanes::store(values + Lanes::kCount, lanes.high);
    }
    static Reals fusedMultiplyAdd(const Reals& a, const Reals& b, const Reals& c)
    {
        return {Lanes::fusedMultiplyAdd(a.low, b.low, c.low),
                Lanes::fusedMultiplyAdd(a.high, b.high, c.high)};
    }
    static Reals times(const Reals& a, const Reals& b)
    {
        return {Lanes::times(a.low, b.low), Lanes::times(a.high, b.high)};
    }
    static Reals minus(const Reals& a, const Reals& b)
    {
        return {Lanes::minus(a.low, b.low), Lanes::minus(a.high, b.high)};
    }
    static Reals minimum(const Reals& a, const Reals& b)
    {
        return {Lanes::minimum(a.low, b.low), Lanes::minimum(a.high, b.high)};
    }
    static Reals maximum(const Reals& a, const Reals& b)
    {
        return {Lanes::maximum(a.low, b.low), Lanes::maximum(a.high, b.high)};
    }
    static Reals magnitude(const Reals& a)
    {
        return {Lanes::magnitude(a.low), Lanes::magnitude(a.high)};
    }
    static Reals truncated(const Reals& a)
    {
        return {Lanes::truncated(a.low), Lanes::truncated(a.high)};
    }
    static Reals nearest(const Reals& a) { return {Lanes::nearest(a.low), Lanes::nearest(a.high)}; }
    static Reals singlePrecision(const Reals& a)
    {
        return {Lanes::singlePrecision(a.low), Lanes::singlePrecision(a.high)};
    }

    static Mask less(const Reals& a, const Reals& b)
    {
        return {Lanes::less(a.low, b.low), Lanes::less(a.high, b.high)};
    }
    static Mask lessOrEqual(const Reals& a, const Reals& b)
    {
        return {Lanes::lessOrEqual(a.low, b.low), Lanes::lessOrEqual(a.high, b.high)};
    }
    static Mask greater(const Reals& a, const Reals& b)
    {
        return {Lanes::greater(a.low, b.low), Lanes::greater(a.high, b.high)};
    }
    static unsigned laneBits(const Mask& mask)
    {
        return Lanes::laneBits(mask.low) | Lanes::laneBits(mask.high) << Lanes::kCount;
    }
};

}  // namespace buffon
