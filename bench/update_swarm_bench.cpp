// Time of one swarm update, as the frame loop calls it, for small, default
// and largest swarms. Runs long enough to pass through many effects.

#include "show/show.h"
#include "show/swarm/scheduler.h"

#include <benchmark/benchmark.h>

namespace {

constexpr std::uint32_t kSeed = 1;
constexpr double kMinSeconds = 3.0;

void updateSwarmBench(benchmark::State& state) {
    ShowSettings settings;
    settings.PixelsUsed = static_cast<std::int32_t>(state.range(0));
    if (!startHeadlessShow(settings, kSeed)) {
        state.SkipWithError("no null device");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(updateSwarm());
    state.counters["per_pixel"] = benchmark::Counter(static_cast<double>(state.iterations()) * state.range(0),
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    stopHeadlessShow();
}

} // namespace

BENCHMARK(updateSwarmBench)->Arg(256)->Arg(1024)->Arg(4096)->Unit(benchmark::kMicrosecond)->MinTime(kMinSeconds);
BENCHMARK_MAIN();
