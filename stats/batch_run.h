#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

namespace buffon {

// Seeds are the bit patterns of the non-negative finite single-precision numbers, the kind of
// value a window run reseeds from; run i of a batch seeded with S reseeds from the value whose
// pattern follows S's by i places, wrapping round, so no two runs of a batch share a sequence.
inline constexpr std::uint32_t kLargestSeed = 0x7f7fffff;
inline constexpr std::int64_t kLargestRunCount = 10'000'000;

float runSeed(std::uint32_t seed, std::int64_t run);

// A window run's needles, counted and not drawn. Needles thrown are added to `thrown` as the
// run goes, so a caller can follow a long run.
std::int32_t countRunHits(int needles, float seed, std::atomic<std::int64_t>& thrown);

struct BatchPlan {
    int needles = 1000;
    std::int64_t runs = 1000;
    std::uint32_t seed = 0;
    int threads = 1;
};

// Hits of every run, in run order. The runs are shared among the threads, but each run's result
// depends only on its seed, so the thread count never changes the outcome.
std::vector<std::int32_t> runBatch(const BatchPlan& plan, std::atomic<std::int64_t>& thrown);

}  // namespace buffon
