#pragma once

#include <cstdint>
#include <string>

#include "batch_summary.h"

namespace buffon {

// The plain, aligned report printed after a batch.
std::string SummaryText(const BatchSummary& summary, std::uint32_t seed);

}  // namespace buffon
