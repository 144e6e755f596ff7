// effect_bench [PIXELS] [RUNS]
// Times every call of whole runs of each effect, as the scheduler makes
// them (the effect, then every step), and prints per effect the average
// call, the busiest call and the run lengths, then the same for the mix the
// scheduler picks on its own.

#include "show/show.h"
#include "show/show_state.h"
#include "show/swarm/scheduler.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kSeed = 1;
constexpr std::int32_t kDefaultPixels = 4096;
constexpr int kDefaultRuns = 40;
constexpr std::int64_t kMixedCalls = 200000;

struct Timing {
    double TotalMicros = 0;
    double BusiestMicros = 0;
    std::int64_t Calls = 0;

    void add(double micros) {
        TotalMicros += micros;
        BusiestMicros = std::max(BusiestMicros, micros);
        ++Calls;
    }
    double average() const { return Calls ? TotalMicros / static_cast<double>(Calls) : 0; }
};

double timedUpdate() {
    const auto start = Clock::now();
    updateSwarm();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// Whole runs of one effect, each started by hand as the chooser would.
Timing timeEffect(std::int32_t effect, int runs) {
    Timing timing;
    for (int run = 0; run < runs; ++run) {
        Show.CurrentEffect = effect;
        while (Show.CurrentEffect == effect)
            timing.add(timedUpdate());
    }
    return timing;
}

void print(const char* name, const Timing& t, int runs) {
    std::printf("%-14s %9.2f %10.1f %10.0f\n", name, t.average(), t.BusiestMicros,
                runs ? static_cast<double>(t.Calls) / runs : 0);
}

} // namespace

int main(int argc, char** argv) {
    ShowSettings settings;
    settings.PixelsUsed = argc > 1 ? std::atoi(argv[1]) : kDefaultPixels;
    const int runs = argc > 2 ? std::atoi(argv[2]) : kDefaultRuns;
    if (!startHeadlessShow(settings, kSeed)) {
        std::fprintf(stderr, "effect_bench: no null device\n");
        return 1;
    }
    std::printf("%d pixels, %d runs each; microseconds per call\n", Show.Settings.PixelsUsed, runs);
    std::printf("%-14s %9s %10s %10s\n", "effect", "average", "busiest", "calls/run");
    for (const EffectEntry& effect : kEffectTable)
        print(effect.Name, timeEffect(effect.Number, runs), runs);
    Timing mixed;
    for (std::int64_t call = 0; call < kMixedCalls; ++call)
        mixed.add(timedUpdate());
    print("all (chosen)", mixed, 0);
    stopHeadlessShow();
    return 0;
}
