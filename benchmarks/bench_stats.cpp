#include <benchmark/benchmark.h>

#include "stats/batch_run.h"

namespace {

// Needles per second of a batch of 50,000-needle runs, on one thread and on two.
void BM_Batch50000(benchmark::State& state)
{
    const buffon::BatchPlan plan{50000, 40, 20261206, static_cast<int>(state.range(0))};
    for (auto _ : state) {
        std::atomic<std::int64_t> thrown{0};
        benchmark::DoNotOptimize(buffon::runBatch(plan, thrown));
    }
    state.SetItemsProcessed(state.iterations() * plan.runs * plan.needles);
}
BENCHMARK(BM_Batch50000)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
