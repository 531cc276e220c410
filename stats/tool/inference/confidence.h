// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

namespace buffon {

// The confidence of every interval and band the companion gives.
inline constexpr double kConfidence = 0.95;

// How many standard deviations either side of a normal law's mean hold `level` of it: 1.96 for
// 95%, from Boost.Math's normal law.
double standardScore(double level = kConfidence);

}  // namespace buffon
