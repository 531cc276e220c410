// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>

#include "stats/rules/needle_rule.h"
#include "stats/run_seed.h"

namespace buffon {

struct BatchPlan {
    int needles = 1000;
    std::int64_t runs = 1000;
    std::uint32_t seed = 0;
    int threads = 1;
    NeedleRule rule;
    // A run named by the value it reseeds from (--reseed): the one run of the plan.
    std::optional<std::uint32_t> reseedBits;
};

// The bit patterns of the numbers a plan's runs reseed from: the seed's shuffle, or the one
// value that names the run.
class PlanReseeds {
public:
    explicit PlanReseeds(const BatchPlan& plan)
        : shuffle_(seedShuffle(plan.seed)), named_(plan.reseedBits)
    {
    }

    std::uint32_t operator()(std::int64_t run) const
    {
        return named_ ? *named_
                      : static_cast<std::uint32_t>(shuffle_(static_cast<std::uint64_t>(run)));
    }

private:
    KeyedShuffle shuffle_;
    std::optional<std::uint32_t> named_;
};

// How many runs ended with each number of hits: every figure of a batch but its table
// depends on the hits alone.
using HitTally = std::map<std::int32_t, std::int64_t>;

// The hits of run i (from 0); called from several threads at once.
using RunCounter = std::function<std::int32_t(std::int64_t run)>;
// A block of consecutive runs' hits and the number of its first run; false when nothing needs
// the runs after it any more.
using BlockSink = std::function<bool(std::span<const std::int32_t> hits, std::int64_t firstRun)>;

// Counts `runs` runs a block at a time, shared among the threads; each block goes to `onBlock`
// on the calling thread, blocks in run order, so the outcome never depends on the threads.
// Where the system refuses more threads, fewer do the work.
void runBatch(std::int64_t runs, int threads, const RunCounter& countRun, const BlockSink& onBlock);

// The hits of the run reseeded from the number whose bit pattern is `reseedBits`, as a window
// run reseeded from that number counts them: all a run is, once its number is known. Needles
// thrown are added to `thrown` as they fall.
std::int32_t runHits(const NeedleRule& rule, int needles, std::uint32_t reseedBits,
                     std::atomic<std::int64_t>& thrown);

// The runs of a plan, each reseeded from the number runSeedBits() gives it, counted and not
// drawn; needles thrown are added to `thrown` as they fall, so a caller can follow a long batch.
void runBatch(const BatchPlan& plan, std::atomic<std::int64_t>& thrown, const BlockSink& onBlock);

}  // namespace buffon
