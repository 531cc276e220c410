#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
"""The geometric rule's needles counted by NumPy as a notebook would count them: two uniform
draws, a vectorised sine and a comparison per needle, a million needles at a time. `make bench`
runs this right after bench_stats, so that its BM_Geometric rows and these figures meet the same
machine load; read the CPU figures beside the wall ones."""

import os

# One thread, like the counter's single-thread row: NumPy's elementwise sine runs on one
# anyway, but the BLAS under it may start a pool of its own.
for variable in ("OPENBLAS_NUM_THREADS", "OMP_NUM_THREADS", "MKL_NUM_THREADS"):
    os.environ[variable] = "1"

import statistics  # noqa: E402
import time  # noqa: E402

import numpy as np  # noqa: E402

LENGTH = 40.0
SPACING = 80.0
CHUNK = 1_000_000
CHUNKS = 50
REPETITIONS = 5


def count_hits(rng):
    hits = 0
    for _ in range(CHUNKS):
        distance = rng.random(CHUNK) * (SPACING / 2)
        angle = rng.random(CHUNK) * (np.pi / 2)
        hits += int(np.count_nonzero(distance <= (LENGTH / 2) * np.sin(angle)))
    return hits


def main():
    rng = np.random.default_rng(20261206)
    needles = CHUNK * CHUNKS
    # The first pass pays for the pages its arrays land on; it is not timed.
    count_hits(rng)
    walls, cpus, hits = [], [], 0
    for _ in range(REPETITIONS):
        wall, cpu = time.perf_counter(), time.process_time()
        hits += count_hits(rng)
        walls.append(time.perf_counter() - wall)
        cpus.append(time.process_time() - cpu)
    print(f"NumPy {np.__version__}, one thread: {CHUNKS} chunks of {CHUNK:,} needles, "
          f"{REPETITIONS} repetitions, L = {LENGTH:g}, D = {SPACING:g}")
    for name, times in (("wall", walls), ("CPU", cpus)):
        print(f"  {name:<4}  median {statistics.median(times) * 1e3:7.1f} ms"
              f"  {needles / statistics.median(times) / 1e6:6.1f} M needles/s"
              f"  (best {needles / min(times) / 1e6:.1f} M/s)")
    print(f"  hit fraction {hits / (needles * REPETITIONS):.6f}, "
          f"exact {2 * LENGTH / (np.pi * SPACING):.6f}")


if __name__ == "__main__":
    main()
