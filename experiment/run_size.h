#pragma once

#include <array>
#include <cstdint>

namespace buffon {

// The window's run sizes: how many needles, and the fixed deduction taken from the hit count
// once they have all fallen.
struct RunSize {
    int needles;
    int deduction;
};

inline constexpr std::array<RunSize, 5> kRunSizes{{
    {10, 0},
    {100, 0},
    {1000, 10},
    {10000, 100},
    {50000, 700},
}};

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

}  // namespace buffon
