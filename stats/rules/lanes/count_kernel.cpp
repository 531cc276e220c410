// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/rules/lanes/count_kernel.h"

#include <initializer_list>

namespace buffon {

bool kernelRunsHere(CountKernel kernel)
{
    switch (kernel) {
    case CountKernel::Scalar:
        return true;
#if defined(__x86_64__)
    case CountKernel::Avx2:
        return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") &&
               __builtin_cpu_supports("popcnt");
    case CountKernel::Avx512:
        // AVX-512DQ brings the 64-bit multiply both generators step with.
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
               __builtin_cpu_supports("popcnt");
#else
    case CountKernel::Avx2:
    case CountKernel::Avx512:
        break;
#endif
    }
    return false;
}

CountKernel fastestKernel()
{
    static const CountKernel fastest = [] {
        for (const CountKernel kernel : {CountKernel::Avx512, CountKernel::Avx2}) {
            if (kernelRunsHere(kernel)) {
                return kernel;
            }
        }
        return CountKernel::Scalar;
    }();
    return fastest;
}

CountKernel kernelOrFastest(CountKernel kernel)
{
    return kernelRunsHere(kernel) ? kernel : fastestKernel();
}

}  // namespace buffon
