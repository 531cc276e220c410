// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// The hits of each run of a batch, one a line, as the companion's table gives them: built as
// WebAssembly and run under Node, so that a test can hold the browser's counts to the
// desktop's.
//
// Usage: count_runs window|geometric LENGTH SPACING NEEDLES RUNS SEED THREADS

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "stats/batch_run.h"

int main(int argc, char** argv)
{
    if (argc != 8) {
        std::fputs("usage: count_runs window|geometric LENGTH SPACING NEEDLES RUNS SEED THREADS\n",
                   stderr);
        return 2;
    }
    buffon::BatchPlan plan{
        std::atoi(argv[4]), std::atoll(argv[5]),  static_cast<std::uint32_t>(std::atoll(argv[6])),
        std::atoi(argv[7]), buffon::WindowRule(), {}};
    if (std::string_view(argv[1]) == "geometric") {
        plan.rule = buffon::GeometricRule{std::atof(argv[2]), std::atof(argv[3])};
    }
    std::atomic<std::int64_t> thrown{0};
    buffon::runBatch(plan, thrown, [](std::span<const std::int32_t> hits, std::int64_t) {
        for (const std::int32_t run : hits) {
            std::printf("%d\n", run);
        }
        return true;
    });
    return 0;
}
