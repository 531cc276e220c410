// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/trace.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "stats/run_seed.h"

namespace buffon {

std::vector<std::int64_t> traceCheckpoints(std::int64_t needles, int points)
{
    // Small counts round to the same whole number, so the grid grows finer until it gives as
    // many distinct points as asked for, or every count up to `needles`.
    std::vector<std::int64_t> checkpoints;
    const double last = std::log(static_cast<double>(needles));
    for (int grid = points;
         static_cast<int>(checkpoints.size()) < std::min<std::int64_t>(points, needles);
         grid += grid / 4) {
        checkpoints.clear();
        for (int i = 0; i < grid; ++i) {
            const auto at =
                static_cast<std::int64_t>(std::llround(std::exp(last * i / std::max(grid - 1, 1))));
            if (checkpoints.empty() || at > checkpoints.back()) {
                checkpoints.push_back(at);
            }
        }
    }
    checkpoints.back() = needles;
    return checkpoints;
}

std::vector<TracePoint> traceReseededRun(const NeedleRule& rule, std::int64_t needles,
                                         std::uint32_t reseedBits,
                                         std::atomic<std::int64_t>& thrown)
{
    return std::visit(
        [&](const auto& r) {
            auto stream = r.stream(reseedBits);
            std::vector<TracePoint> trace;
            TracePoint point;
            for (const std::int64_t checkpoint : traceCheckpoints(needles)) {
                // Pieces small enough for a progress bar to move.
                constexpr std::int64_t kPiece = 1 << 16;
                while (point.needles < checkpoint) {
                    const std::int64_t piece = std::min(kPiece, checkpoint - point.needles);
                    point.hits += stream.countHits(piece);
                    point.needles += piece;
                    thrown.fetch_add(piece, std::memory_order_relaxed);
                }
                trace.push_back(point);
            }
            return trace;
        },
        rule);
}

TraceValues traceValues(const NeedleRule& rule, const TracePoint& point, double z)
{
    const double p = exactRate(rule);
    const auto n = static_cast<double>(point.needles);
    const double fraction = static_cast<double>(point.hits) / n;
    const double fractionSd = std::sqrt(p * (1 - p) / n);
    if (const auto factor = estimateFactor(rule)) {
        // The estimate is factor / fraction; to first order its spread is factor/p² times the
        // fraction's.
        const double limit = *factor / p;
        const double half = z * *factor * fractionSd / (p * p);
        return {point.hits > 0 ? *factor / fraction : std::numeric_limits<double>::quiet_NaN(),
                limit, std::max(limit - half, 0.0), limit + half};
    }
    return {fraction, p, std::max(p - z * fractionSd, 0.0), std::min(p + z * fractionSd, 1.0)};
}

std::vector<TracePoint> traceRun(const NeedleRule& rule, std::int64_t needles, std::uint32_t seed,
                                 std::atomic<std::int64_t>& thrown)
{
    return traceReseededRun(rule, needles, runSeedBits(seed, 0), thrown);
}

}  // namespace buffon
