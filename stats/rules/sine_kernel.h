// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

namespace buffon {

// How the bulk counters compute their needles' sines: one at a time with std::sin, or four or
// eight at once with glibc's vector sine, whose instructions the processor may lack.
enum class SineKernel { Scalar, Avx2, Avx512 };

bool kernelRunsHere(SineKernel kernel);
SineKernel fastestKernel();
// The kernel asked for where the processor has it, else the fastest it has.
SineKernel kernelOrFastest(SineKernel kernel);

}  // namespace buffon
