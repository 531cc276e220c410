// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

// GCC 12 takes the deliberately undefined registers of its own AVX-512 intrinsics for
// uninitialised variables (GCC bug 105593, fixed in GCC 13).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop

// glibc's vector sines (libmvec) under their x86-64 vector-ABI names: four lanes on AVX2,
// eight on AVX-512. The target attributes give the declarations the vector registers' ABI
// in files built for plain x86-64; callers check the processor before calling them.
extern "C" {
__attribute__((target("avx2"))) __m256d _ZGVdN4v_sin(__m256d angles);
__attribute__((target("avx512f"))) __m512d _ZGVeN8v_sin(__m512d angles);
}
