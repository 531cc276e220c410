// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/rules/sine_kernel.h"

#include <initializer_list>

namespace buffon {

bool kernelRunsHere(SineKernel kernel)
{
    switch (kernel) {
    case SineKernel::Scalar:
        return true;
    case SineKernel::Avx2:
        return __builtin_cpu_supports("avx2");
    case SineKernel::Avx512:
        return __builtin_cpu_supports("avx512f");
    }
    return false;
}

SineKernel fastestKernel()
{
    static const SineKernel fastest = [] {
        for (const SineKernel kernel : {SineKernel::Avx512, SineKernel::Avx2}) {
            if (kernelRunsHere(kernel)) {
                return kernel;
            }
        }
        return SineKernel::Scalar;
    }();
    return fastest;
}

SineKernel kernelOrFastest(SineKernel kernel)
{
    return kernelRunsHere(kernel) ? kernel : fastestKernel();
}

}  // namespace buffon
