// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

#include "stats/rules/lanes/count_kernel.h"
#include "stats/rules/rule_parts.h"

namespace buffon {

// A reproducible stream of needles thrown by the geometric rule, counted and not drawn.
//
// Needle n of the stream lies at distance x = u D/2 from the nearest line, at an acute angle
// theta = v pi/2 to the lines, and is a hit when x <= (L/2) std::sin(theta) in double
// precision. u and v are the top 52 bits of outputs 2n and 2n + 1 of SplitMix64 (Steele, Lea
// and Flood, "Fast splittable pseudorandom number generators", 2014) started from the state
// that is its first output when seeded with the seed. Output k is the mix of that state plus
// k + 1 times SplitMix64's increment, so any needle's draws are known without those before it.
//
// A count depends only on the seed, the rule and which needles of the stream it covers: never
// on how the stream is cut into calls, on threads, or on the kernel. That holds on one
// machine: std::sin is glibc's, which chooses its own code by the processor (with fused
// multiply-adds or without), so on another machine a needle whose comparison turns on the
// last bit of std::sin, about one in 10^16, might count otherwise.
class GeometricNeedles {
public:
    // Needles of length `length` on lines `spacing` apart.
    GeometricNeedles(std::uint32_t seed, double length, double spacing);

    // Hits among the next `needles` needles (none when it is 0 or less); the stream then goes
    // on after them.
    std::int64_t countHits(std::int64_t needles);
    // The same count with a given kernel. A kernel the processor lacks gives way to the
    // fastest one it has.
    std::int64_t countHits(std::int64_t needles, CountKernel kernel);
    // Passes over needles without counting them, at no cost: threads can share out one stream,
    // each counting its own stretch of it.
    void skip(std::int64_t needles);
    // The next needle, whole: its distance from the nearest line, its acute angle to the lines,
    // and whether it hit, as every count judges it.
    Throw next();
    // The same needle with the 12 low bits of each of its two outputs, which its draws leave
    // unused: the distance's output's in bits 12 to 23, the angle's in bits 0 to 11.
    Throw next(std::uint32_t& spareBits);

private:
    double halfSpacing_;
    double halfLength_;
    std::uint64_t state_;  // the next needle draws from the two states after this one
};

}  // namespace buffon
