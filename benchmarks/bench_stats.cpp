// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

// Needles per second of the statistics companion's counting: the bulk counter beside the needle
// loop it replaced, in one run, so that both meet the same machine load; a class's batch alone
// and with what the exact law says of it; and the geometric rule's counter, whose rows
// `make bench` follows with NumPy doing the same work (numpy_geometric.py).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <numeric>
#include <thread>
#include <vector>

#include "experiment/needle.h"
#include "experiment/random_source.h"
#include "stats/batch_run.h"
#include "stats/rules/geometric/geometric_needles.h"
#include "stats/rules/window/window_needles.h"
#include "stats/run_seed.h"
#include "stats/tool/inference/inference.h"

namespace {

// The counting as it was before the bulk counter (commit 669d9ca): every needle thrown whole,
// cosine included, by a function out of the caller's sight, drawing through a virtual call.
namespace before {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual float nextValue() = 0;
};

class Pcg32Source final : public RandomSource {
public:
    explicit Pcg32Source(float seed) : source_(seed) {}
    float nextValue() override { return source_.nextValue(); }

private:
    buffon::UniformRandomSource source_;
};

constexpr std::array<int, 5> kLines{80, 160, 240, 320, 400};

float startCoordinate(float draw)
{
    return static_cast<float>(static_cast<double>(draw) * 400.0f + 40.0f);
}

template <typename Real>
Real wholePart(Real value)
{
    return static_cast<Real>(static_cast<std::int32_t>(value));
}

bool touchesLine(double startPixelY, double endPixelY)
{
    for (const int line : kLines) {
        if (startPixelY == line || endPixelY == line) {
            return true;
        }
    }
    return false;
}

buffon::Outcome classifyNeedle(float startPixelY, double endPixelY)
{
    const double start = startPixelY;
    if (start > endPixelY) {
        for (const int line : kLines) {
            if (start > line && endPixelY < line) {
                return buffon::Outcome::Hit;
            }
        }
        return touchesLine(start, endPixelY) ? buffon::Outcome::Hit : buffon::Outcome::Miss;
    }
    if (start < endPixelY) {
        for (const int line : kLines) {
            if (start < line && endPixelY > line) {
                return buffon::Outcome::Hit;
            }
        }
        return touchesLine(start, endPixelY) ? buffon::Outcome::Hit : buffon::Outcome::Miss;
    }
    return touchesLine(start, start) ? buffon::Outcome::Hit : buffon::Outcome::Miss;
}

// noipa: the loop and the source stay unknown to each other, as they were in their own files.
__attribute__((noipa)) buffon::Needle throwNeedle(RandomSource& random)
{
    buffon::Needle needle;
    needle.startX = startCoordinate(random.nextValue());
    needle.startY = startCoordinate(random.nextValue());
    const double horizontalAngle = static_cast<double>(random.nextValue()) * 6.28318526;
    needle.endX = needle.startX + std::cos(horizontalAngle) * 40.0;
    const double verticalAngle = static_cast<double>(random.nextValue()) * 6.28318526;
    needle.endY = needle.startY + std::sin(verticalAngle) * 40.0;
    needle.startPixelX = wholePart(needle.startX);
    needle.startPixelY = wholePart(needle.startY);
    needle.endPixelX = wholePart(needle.endX);
    needle.endPixelY = wholePart(needle.endY);
    needle.outcome = classifyNeedle(needle.startPixelY, needle.endPixelY);
    return needle;
}

std::int32_t countHits(int needles, float seed, std::atomic<std::int64_t>& thrown)
{
    constexpr int kBlock = 4096;
    Pcg32Source random(seed);
    std::int32_t hits = 0;
    for (int done = 0; done < needles;) {
        const int block = std::min(kBlock, needles - done);
        for (int i = 0; i < block; ++i) {
            hits += throwNeedle(random).outcome == buffon::Outcome::Hit;
        }
        done += block;
        thrown.fetch_add(block, std::memory_order_relaxed);
    }
    return hits;
}

std::vector<std::int32_t> runBatch(const buffon::BatchPlan& plan, std::atomic<std::int64_t>& thrown)
{
    std::vector<std::int32_t> hits(static_cast<std::size_t>(plan.runs));
    std::atomic<std::int64_t> nextRun{0};
    const auto work = [&] {
        for (std::int64_t run = nextRun++; run < plan.runs; run = nextRun++) {
            hits[static_cast<std::size_t>(run)] = countHits(
                plan.needles, std::bit_cast<float>(buffon::runSeedBits(plan.seed, run)), thrown);
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

}  // namespace before

namespace now {

std::vector<std::int32_t> runBatch(const buffon::BatchPlan& plan, std::atomic<std::int64_t>& thrown)
{
    std::vector<std::int32_t> hits;
    buffon::runBatch(plan, thrown, [&](std::span<const std::int32_t> block, std::int64_t) {
        hits.insert(hits.end(), block.begin(), block.end());
        return true;
    });
    return hits;
}

}  // namespace now

// A batch of 50,000-needle runs on one thread and on two; the CPU column is both threads'.
template <auto runBatch>
void batch50000(benchmark::State& state)
{
    const buffon::BatchPlan plan{50000, 40, 20261206, static_cast<int>(state.range(0)), {}};
    std::vector<std::int32_t> hits;
    for (auto _ : state) {
        std::atomic<std::int64_t> thrown{0};
        hits = runBatch(plan, thrown);
        benchmark::DoNotOptimize(hits.data());
    }
    state.SetItemsProcessed(state.iterations() * plan.runs * plan.needles);
    // The same in every row, or the rows do not compare the same work.
    state.counters["hits"] = std::accumulate(hits.begin(), hits.end(), 0.0);
}

void BM_Batch50000Before(benchmark::State& state)
{
    batch50000<before::runBatch>(state);
}
BENCHMARK(BM_Batch50000Before)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_Batch50000(benchmark::State& state)
{
    batch50000<now::runBatch>(state);
}
BENCHMARK(BM_Batch50000)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// What a teacher's batch costs, 2,000 runs of 50,000 needles on one thread, counted alone and
// counted with everything the summary works out from the tally: its figures, and what the exact
// law says of the runs (the test against it and the coverage of the runs' intervals).
void batchForAClass(benchmark::State& state, bool withTheLaw)
{
    const buffon::BatchPlan plan{50000, 2000, 20261207, 1, {}};
    double figure = 0;
    for (auto _ : state) {
        std::atomic<std::int64_t> thrown{0};
        buffon::HitTally tally;
        buffon::runBatch(plan, thrown, [&](std::span<const std::int32_t> hits, std::int64_t) {
            for (const std::int32_t h : hits) {
                ++tally[h];
            }
            return true;
        });
        if (withTheLaw) {
            const buffon::Inference inference = buffon::inferenceOf(tally, plan);
            figure = buffon::summarise(tally, plan, inference.z).hitFraction +
                     inference.fit->pValue + inference.coverage->share;
        }
        benchmark::DoNotOptimize(tally.size());
    }
    state.SetItemsProcessed(state.iterations() * plan.runs * plan.needles);
    benchmark::DoNotOptimize(figure);
}

void BM_ClassBatch(benchmark::State& state)
{
    batchForAClass(state, false);
}
BENCHMARK(BM_ClassBatch)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_ClassBatchWithTheLaw(benchmark::State& state)
{
    batchForAClass(state, true);
}
BENCHMARK(BM_ClassBatchWithTheLaw)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// One 50,000-needle count on one thread by each kernel the processor has (0 one by one, 1 AVX2, 2 AVX-512).
void BM_Count50000(benchmark::State& state)
{
    const auto kernel = static_cast<buffon::CountKernel>(state.range(0));
    if (!buffon::kernelRunsHere(kernel)) {
        state.SkipWithError("not on this processor");
        return;
    }
    buffon::UniformRandomSource random(45296.25f);
    for (auto _ : state) {
        benchmark::DoNotOptimize(buffon::countHits(random, 50000, kernel));
    }
    state.SetItemsProcessed(state.iterations() * 50000);
}
BENCHMARK(BM_Count50000)->ArgName("kernel")->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// Twenty million needles of one geometric stream, cut into as many stretches as there are
// threads, each stretch counted by its own thread; the CPU column is all threads'.
void BM_Geometric20M(benchmark::State& state)
{
    constexpr std::int64_t kNeedles = 20'000'000;
    const auto threads = static_cast<int>(state.range(0));
    std::vector<std::int64_t> hits(static_cast<std::size_t>(threads));
    const auto countStretch = [&](int thread) {
        const std::int64_t from = kNeedles * thread / threads;
        buffon::GeometricNeedles needles(20261206, 40, 80);
        needles.skip(from);
        hits[static_cast<std::size_t>(thread)] =
            needles.countHits(kNeedles * (thread + 1) / threads - from);
    };
    for (auto _ : state) {
        std::vector<std::jthread> pool;
        for (int thread = 1; thread < threads; ++thread) {
            pool.emplace_back(countStretch, thread);
        }
        countStretch(0);
    }
    state.SetItemsProcessed(state.iterations() * kNeedles);
    state.counters["hits"] =
        static_cast<double>(std::accumulate(hits.begin(), hits.end(), std::int64_t{0}));
}
BENCHMARK(BM_Geometric20M)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// A million geometric needles on one thread by each kernel the processor has (0 one by one, 1 AVX2, 2 AVX-512).
void BM_GeometricCount1M(benchmark::State& state)
{
    const auto kernel = static_cast<buffon::CountKernel>(state.range(0));
    if (!buffon::kernelRunsHere(kernel)) {
        state.SkipWithError("not on this processor");
        return;
    }
    buffon::GeometricNeedles needles(20261206, 40, 80);
    for (auto _ : state) {
        benchmark::DoNotOptimize(needles.countHits(1'000'000, kernel));
    }
    state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(BM_GeometricCount1M)->ArgName("kernel")->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
