// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace buffon {

// The textbook's needles from SplitMix64 (see GeometricNeedles): its increment, the multipliers
// of its mixing function, and the needle's two draws and its hit as every count judges them.
inline constexpr std::uint64_t kGamma = 0x9e3779b97f4a7c15u;
inline constexpr std::uint64_t kMix1 = 0xbf58476d1ce4e5b9u;
inline constexpr std::uint64_t kMix2 = 0x94d049bb133111ebu;
// The bits of 1.0: 52 random bits below them make a double uniform in [1, 2), exactly, on every
// path, where a vector conversion from 64-bit integers would need AVX-512DQ.
inline constexpr std::uint64_t kOneBits = 0x3ff0000000000000u;
inline constexpr double kHalfPi = std::numbers::pi / 2;
// The low bits of an output that uniformOf leaves out.
inline constexpr int kSpareWidth = 12;
inline constexpr std::uint64_t kSpareMask = (std::uint64_t{1} << kSpareWidth) - 1;

constexpr std::uint64_t mix(std::uint64_t z)
{
    z = (z ^ (z >> 30u)) * kMix1;
    z = (z ^ (z >> 27u)) * kMix2;
    return z ^ (z >> 31u);
}

// Needles whose distance lies within this share of L/2 of the reach a lane kernel works out are
// judged again by isHit (see geometric_lanes.h).
inline constexpr double kNearBoundary = 1e-6;

inline double uniformOf(std::uint64_t bits)
{
    // The builtin behind std::bit_cast: the browser build's standard library predates it.
    return __builtin_bit_cast(double, kOneBits | bits >> 12u) - 1.0;
}

inline bool isHit(double distance, double angle, double halfLength)
{
    return distance <= halfLength * std::sin(angle);
}

}  // namespace buffon
