#include "batch_run.h"

#include <algorithm>
#include <bit>
#include <thread>

#include "needle.h"
#include "random_source.h"
#include "run_size.h"

namespace buffon {

float RunSeed(std::uint32_t seed, std::int64_t run)
{
    constexpr std::int64_t seedCount = std::int64_t{kLargestSeed} + 1;
    const auto pattern = static_cast<std::uint32_t>((seed + run % seedCount) % seedCount);
    return std::bit_cast<float>(pattern);
}

int DeductionFor(int needles)
{
    for (const RunSize& size : kRunSizes) {
        if (size.needles == needles) {
            return size.deduction;
        }
    }
    return 0;
}

std::int32_t CountHits(int needles, float seed, std::atomic<std::int64_t>& thrown)
{
    // Progress is published in blocks so the shared counter costs nothing measurable.
    constexpr int kBlock = 4096;
    UniformRandomSource random;
    random.Reseed(seed);
    std::int32_t hits = 0;
    for (int done = 0; done < needles;) {
        const int block = std::min(kBlock, needles - done);
        for (int i = 0; i < block; ++i) {
            hits += ThrowNeedle(random).outcome == Outcome::Hit;
        }
        done += block;
        thrown.fetch_add(block, std::memory_order_relaxed);
    }
    return hits;
}

std::vector<std::int32_t> RunBatch(const BatchPlan& plan, std::atomic<std::int64_t>& thrown)
{
    std::vector<std::int32_t> hits(static_cast<std::size_t>(plan.runs));
    std::atomic<std::int64_t> nextRun{0};
    const auto work = [&] {
        for (std::int64_t run = nextRun++; run < plan.runs; run = nextRun++) {
            hits[static_cast<std::size_t>(run)] =
                CountHits(plan.needles, RunSeed(plan.seed, run), thrown);
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
