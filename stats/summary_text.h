#pragma once

#include <cstdint>
#include <string>

#include "stats/batch_summary.h"

namespace buffon {

// The plain, aligned report printed after a batch.
std::string summaryText(const BatchSummary& summary, std::uint32_t seed);

}  // namespace buffon
