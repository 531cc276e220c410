#include "experiment/run_result.h"

namespace buffon {

RunResult runResult(std::int64_t needles, int deduction, std::int64_t hits)
{
    RunResult result;
    result.count = hits - deduction;
    if (result.count != 0) {
        result.estimate = static_cast<double>(needles) / static_cast<double>(result.count);
    }
    return result;
}

}  // namespace buffon
