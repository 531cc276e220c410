#pragma once

#include <cstdint>
#include <optional>

namespace buffon {

// What a window run shows once its needles have fallen: the count after the deduction, and
// needles ÷ count unless the count is 0.
struct RunResult {
    std::int32_t count = 0;
    std::optional<double> estimate;
};

RunResult ResultOf(int needles, int deduction, std::int32_t hits);

}  // namespace buffon
