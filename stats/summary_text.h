// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <string>

#include "stats/batch_summary.h"
#include "stats/needle_rule.h"

namespace buffon {

// The plain, aligned report printed after a batch, headed by what makes it again: the program
// that wrote it, the rule and the seed.
std::string summaryText(const BatchSummary& summary, std::uint32_t seed, const NeedleRule& rule,
                        const std::string& program);

}  // namespace buffon
