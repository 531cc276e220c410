// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "stats/batch_run.h"
#include "stats/batch_summary.h"
#include "stats/tool/inference/inference.h"
#include "stats/tool/pictures/picture_settings.h"
#include "stats/trace.h"

namespace buffon {

// How many of a batch's first runs are kept whole for the outputs that show runs one by one.
inline constexpr std::size_t kFirstRuns = 100;

// Everything an output is made from once the runs are counted.
struct Results {
    const BatchPlan& plan;
    std::string_view program;  // as outputs name what made them
    std::string_view version;
    const HitTally& tally;
    const BatchSummary& summary;
    const Inference& inference;
    std::span<const std::int32_t> firstRuns;  // the hits of the first kFirstRuns runs
    std::span<const TracePoint> trace;        // the points of a traced run; empty for a batch
    PictureSettings pictures;
};

// One format of one output: the bytes it writes. A table grows as the runs are counted, so its
// exporter gives a header and then rows a block at a time; the others give all their bytes at
// the end.
class Exporter {
public:
    virtual ~Exporter() = default;

    virtual std::string header(const BatchPlan&) const { return {}; }
    virtual std::string rows(const BatchPlan&, std::span<const std::int32_t> /*hits*/,
                             std::int64_t /*firstRun*/) const
    {
        return {};
    }
    virtual std::string finish(const Results& results) const = 0;
};

// Thrown by finish() when the runs give the output nothing to show (no estimate to plot): the
// output is left as it was, and what it lacked is said, not a failure to write.
class NothingToShow : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace buffon
