// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include "stats/batch_run.h"

#include <algorithm>
#include <numeric>
#include <system_error>
#include <thread>
#include <vector>

#include "stats/run_seed.h"

namespace buffon {
namespace {

// A WebAssembly build without its threads option cannot start a thread, nor catch the refusal.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
constexpr bool kThreadsStart = false;
#else
constexpr bool kThreadsStart = true;
#endif

// Progress is published in blocks of needles so the shared counter costs nothing measurable;
// a run is shared out among threads only in pieces of at least a block.
constexpr std::int64_t kProgressBlock = 1 << 16;

// Threads joined however their starter leaves.
struct Helpers {
    std::vector<std::thread> threads;
    ~Helpers()
    {
        for (std::thread& thread : threads) {
            thread.join();
        }
    }
};

// Calls work(i) for each i from 0 to count - 1, shared among `threads` threads, the calling one
// among them. Where the system refuses more threads, fewer do the work.
template <typename Work>
void shareOut(std::int64_t count, int threads, const Work& work)
{
    std::atomic<std::int64_t> next{0};
    const auto take = [&] {
        for (std::int64_t i = next++; i < count; i = next++) {
            work(i);
        }
    };
    Helpers helpers;
    try {
        for (std::int64_t i = 1; kThreadsStart && i < std::clamp<std::int64_t>(threads, 1, count);
             ++i) {
            helpers.threads.emplace_back(take);
        }
    } catch (const std::system_error&) {
        // A process limit or no memory for another stack: the threads there are do it.
    }
    take();
}

// Hits among `count` needles of a run from its needle `first` on.
std::int64_t stretchHits(const NeedleRule& rule, std::uint32_t reseedBits, std::int64_t first,
                         std::int64_t count, std::atomic<std::int64_t>& thrown)
{
    return std::visit(
        [&](const auto& r) {
            auto stream = r.stream(reseedBits);
            stream.skip(first);
            std::int64_t hits = 0;
            for (std::int64_t done = 0; done < count;) {
                const std::int64_t block = std::min(kProgressBlock, count - done);
                hits += stream.countHits(block);
                done += block;
                thrown.fetch_add(block, std::memory_order_relaxed);
            }
            return hits;
        },
        rule);
}

}  // namespace

void runBatch(std::int64_t runs, int threads, const RunCounter& countRun, const BlockSink& onBlock)
{
    constexpr std::int64_t kBlockRuns = 1 << 16;
    std::vector<std::int32_t> hits(static_cast<std::size_t>(std::min(runs, kBlockRuns)));
    for (std::int64_t first = 0; first < runs; first += kBlockRuns) {
        const std::int64_t count = std::min(kBlockRuns, runs - first);
        shareOut(count, threads, [&](std::int64_t i) {
            hits[static_cast<std::size_t>(i)] = countRun(first + i);
        });
        if (!onBlock(std::span(hits).first(static_cast<std::size_t>(count)), first)) {
            return;
        }
    }
}

std::int32_t runHits(const NeedleRule& rule, int needles, std::uint32_t reseedBits,
                     std::atomic<std::int64_t>& thrown, int threads)
{
    // Each piece's stream skips exactly to its first needle, so the pieces count what the run
    // counts, whatever their number.
    const std::int64_t pieces = std::clamp<std::int64_t>(needles / kProgressBlock, 1, threads);
    std::vector<std::int64_t> hits(static_cast<std::size_t>(pieces));
    shareOut(pieces, threads, [&](std::int64_t piece) {
        const std::int64_t first = needles * piece / pieces;
        const std::int64_t end = needles * (piece + 1) / pieces;
        hits[static_cast<std::size_t>(piece)] =
            stretchHits(rule, reseedBits, first, end - first, thrown);
    });
    return static_cast<std::int32_t>(std::reduce(hits.begin(), hits.end()));
}

void runBatch(const BatchPlan& plan, std::atomic<std::int64_t>& thrown, const BlockSink& onBlock)
{
    // Made once: runs of a few needles would otherwise spend a fair share of their time on it.
    const PlanReseeds reseeds(plan);
    // Fewer runs than threads: the runs go one after another, each shared out among them all.
    const bool fewRuns = plan.runs < plan.threads;
    runBatch(
        plan.runs, fewRuns ? 1 : plan.threads,
        [&](std::int64_t run) {
            return runHits(plan.rule, plan.needles, reseeds(run), thrown,
                           fewRuns ? plan.threads : 1);
        },
        onBlock);
}

}  // namespace buffon
