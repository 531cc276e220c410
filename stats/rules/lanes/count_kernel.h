// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

namespace buffon {

// How the bulk counters go through their needles: one at a time, or in the lanes of AVX2's
// four-wide or AVX-512's eight-wide registers, whose instructions the processor may lack.
// Every kernel counts exactly the same hits.
enum class CountKernel { Scalar, Avx2, Avx512 };

bool kernelRunsHere(CountKernel kernel);
CountKernel fastestKernel();
// The kernel asked for where the processor has it, else the fastest it has.
CountKernel kernelOrFastest(CountKernel kernel);

}  // namespace buffon
