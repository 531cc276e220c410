#pragma once

#include <cstdint>
#include <optional>

namespace buffon {

// What a run shows once its needles have fallen: the count after the deduction, and
// needles ÷ count unless the count is 0. A count below the deduction stays negative.
struct RunResult {
    std::int64_t count = 0;
    std::optional<double> estimate;
};

RunResult runResult(std::int64_t needles, int deduction, std::int64_t hits);

}  // namespace buffon
