// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <span>

#include "experiment/random_source.h"

namespace buffon {

// How the needles' sines are computed: one at a time with std::sin, or four or eight at once
// with glibc's vector sine, whose instructions the processor may lack.
enum class SineKernel { Scalar, Avx2, Avx512 };

bool kernelRunsHere(SineKernel kernel);
SineKernel fastestKernel();

// Exactly the count of `needles` needles thrown one by one with throwOutcome, and `random`
// left where they leave it; only faster. A kernel the processor lacks gives way to the fastest
// one it has.
std::int64_t countHits(UniformRandomSource& random, std::int64_t needles);
std::int64_t countHits(UniformRandomSource& random, std::int64_t needles, SineKernel kernel);

// The hits of needles given by the two draws their outcome reads (see verticalOutcome): needle
// i by startYDraws[i] and angleDraws[i]. The spans are of equal length.
std::int64_t countHitsOfDraws(std::span<const float> startYDraws, std::span<const float> angleDraws,
                              SineKernel kernel);

}  // namespace buffon
