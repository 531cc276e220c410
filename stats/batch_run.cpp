// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/batch_run.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

#include "stats/run_seed.h"

namespace buffon {

void runBatch(std::int64_t runs, int threads, const RunCounter& countRun, const BlockSink& onBlock)
{
    constexpr std::int64_t kBlockRuns = 1 << 16;
    std::vector<std::int32_t> hits(static_cast<std::size_t>(std::min(runs, kBlockRuns)));
    for (std::int64_t first = 0; first < runs; first += kBlockRuns) {
        const std::int64_t count = std::min(kBlockRuns, runs - first);
        std::atomic<std::int64_t> next{0};
        const auto work = [&] {
            for (std::int64_t i = next++; i < count; i = next++) {
                hits[static_cast<std::size_t>(i)] = countRun(first + i);
            }
        };
        {
            std::vector<std::jthread> helpers;
            try {
                for (std::int64_t i = 1; i < std::clamp<std::int64_t>(threads, 1, count); ++i) {
                    helpers.emplace_back(work);
                }
            } catch (const std::system_error&) {
                // A process limit or no memory for another stack: the threads there are do it.
            }
            work();
        }
        if (!onBlock(std::span(hits).first(static_cast<std::size_t>(count)), first)) {
            return;
        }
    }
}

std::int32_t runHits(const NeedleRule& rule, int needles, std::uint32_t reseedBits,
                     std::atomic<std::int64_t>& thrown)
{
    return std::visit(
        [&](const auto& r) {
            // Progress is published in blocks so the shared counter costs nothing measurable.
            constexpr int kBlock = 1 << 16;
            auto stream = r.stream(reseedBits);
            std::int64_t hits = 0;
            for (int done = 0; done < needles;) {
                const int block = std::min(kBlock, needles - done);
                hits += stream.countHits(block);
                done += block;
                thrown.fetch_add(block, std::memory_order_relaxed);
            }
            return static_cast<std::int32_t>(hits);
        },
        rule);
}

void runBatch(const BatchPlan& plan, std::atomic<std::int64_t>& thrown, const BlockSink& onBlock)
{
    // Made once: runs of a few needles would otherwise spend a fair share of their time on it.
    const PlanReseeds reseeds(plan);
    runBatch(
        plan.runs, plan.threads,
        [&](std::int64_t run) {
            return runHits(plan.rule, plan.needles, reseeds(run), thrown);
        },
        onBlock);
}

}  // namespace buffon
