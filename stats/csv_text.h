// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace buffon {

inline constexpr const char* kCsvHeader = "run,hits,count,estimate\n";

// One row per run, numbered on from `firstRun`: hits, the count after the deduction, and the
// estimate as the window would show it (empty when the count is 0). Callers write long batches
// a slice at a time.
std::string csvRows(std::span<const std::int32_t> hits, std::int64_t firstRun, int needles,
                    int deduction);

}  // namespace buffon
