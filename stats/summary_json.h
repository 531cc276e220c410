// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "stats/batch_summary.h"
#include "stats/needle_rule.h"

namespace buffon {

// The summary's figures as JSON numbers, for notebooks and scripts: every figure the printed
// summary shows, exact to the last bit, null where the summary shows "-", and with what makes
// them again (the program and its version, the rule and its parameters, the seed).
std::string summaryJson(const BatchSummary& summary, std::uint32_t seed, const NeedleRule& rule,
                        std::string_view program, std::string_view version);

}  // namespace buffon
