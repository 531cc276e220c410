#pragma once

#include <array>
#include <string_view>

namespace buffon {

// One run button: its control name, caption, needle count and the fixed deduction taken from
// the hit count once all needles have fallen.
struct RunSize {
    std::string_view button;
    std::string_view caption;
    int needles;
    int deduction;
};

inline constexpr std::array<RunSize, 5> kRunSizes{{
    {"Command1", "10", 10, 0},
    {"Command2", "100", 100, 0},
    {"Command3", "1,000", 1000, 10},
    {"Command4", "10,000", 10000, 100},
    {"Command7", "50,000", 50000, 700},
}};

}  // namespace buffon
