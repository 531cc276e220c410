// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "window/vector_state.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace buffon {

#if defined(__x86_64__) && defined(__GNUC__)
namespace {

__attribute__((target("avx"))) void zeroUpper()
{
    _mm256_zeroupper();
}

}  // namespace

void releaseWideVectorState()
{
    static const bool haveAvx = __builtin_cpu_supports("avx");
    if (haveAvx) {
        zeroUpper();
    }
}
#else
void releaseWideVectorState() {}
#endif

}  // namespace buffon
