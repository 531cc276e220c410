#include "stats/batch_run.h"

#include <algorithm>
#include <bit>
#include <thread>

#include "experiment/needle_run.h"
#include "experiment/random_source.h"

namespace buffon {

float runSeed(std::uint32_t seed, std::int64_t run)
{
    constexpr std::int64_t seedCount = std::int64_t{kLargestSeed} + 1;
    const auto pattern = static_cast<std::uint32_t>((seed + run % seedCount) % seedCount);
    return std::bit_cast<float>(pattern);
}

std::int32_t countRunHits(int needles, float seed, std::atomic<std::int64_t>& thrown)
{
    // Progress is published in blocks so the shared counter costs nothing measurable.
    constexpr int kBlock = 4096;
    UniformRandomSource random(seed);
    std::int64_t hits = 0;
    for (int done = 0; done < needles;) {
        const int block = std::min(kBlock, needles - done);
        hits += throwNeedles(random, block);
        done += block;
        thrown.fetch_add(block, std::memory_order_relaxed);
    }
    return static_cast<std::int32_t>(hits);
}

std::vector<std::int32_t> runBatch(const BatchPlan& plan, std::atomic<std::int64_t>& thrown)
{
    std::vector<std::int32_t> hits(static_cast<std::size_t>(plan.runs));
    std::atomic<std::int64_t> nextRun{0};
    const auto work = [&] {
        for (std::int64_t run = nextRun++; run < plan.runs; run = nextRun++) {
            hits[static_cast<std::size_t>(run)] =
                countRunHits(plan.needles, runSeed(plan.seed, run), thrown);
        }
    };
    const auto helpers = std::clamp<std::int64_t>(plan.threads, 1, plan.runs) - 1;
    {
        std::vector<std::jthread> pool;
        for (std::int64_t i = 0; i < helpers; ++i) {
            pool.emplace_back(work);
        }
        work();
    }
    return hits;
}

}  // namespace buffon
