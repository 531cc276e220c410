// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/csv_text.h"

#include "experiment/number_text.h"
#include "experiment/run_size.h"

namespace buffon {

std::string csvRows(std::span<const std::int32_t> hits, std::int64_t firstRun, int needles,
                    int deduction)
{
    std::string text;
    text.reserve(hits.size() * 32);
    std::int64_t run = firstRun;
    for (const std::int32_t h : hits) {
        const RunResult result = runResult(needles, deduction, h);
        text += std::to_string(run++);
        text += ',';
        text += std::to_string(h);
        text += ',';
        text += std::to_string(result.count);
        text += ',';
        if (result.estimate) {
            text += numberText(*result.estimate);
        }
        text += '\n';
    }
    return text;
}

}  // namespace buffon
