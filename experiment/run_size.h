// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace buffon {

// The window's run sizes: how many needles, and the fixed deduction taken from the hit count
// once they have all fallen.
struct RunSize {
    int needles;
    int deduction;
};

inline constexpr auto kRunSizes = std::to_array<RunSize>({
    {10, 0},
    {100, 0},
    {1000, 10},
    {10000, 100},
    {50000, 700},
});

// The deduction of the run size with this many needles; 0 for other counts.
constexpr int deductionFor(std::int64_t needles)
{
    for (const RunSize& size : kRunSizes) {
        if (size.needles == needles) {
            return size.deduction;
        }
    }
    return 0;
}

// What a run shows once its needles have fallen: the count after the deduction, and
// needles ÷ count unless the count is 0. A count below the deduction stays negative.
struct RunResult {
    std::int64_t count = 0;
    std::optional<double> estimate;
};

constexpr RunResult runResult(std::int64_t needles, int deduction, std::int64_t hits)
{
    RunResult result;
    result.count = hits - deduction;
    if (result.count != 0) {
        result.estimate = static_cast<double>(needles) / static_cast<double>(result.count);
    }
    return result;
}

}  // namespace buffon
