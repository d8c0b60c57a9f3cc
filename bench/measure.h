// Timing helpers shared by the benchmark programs: an action timed per iteration (the time the
// report shows), and beside it the plain read of the files the action works on, so that every
// figure also reads as a ratio that the machine's load affects less than the figure itself.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <initializer_list>
#include <vector>

#include "full_sample.h"
#include "process_figures.h"

namespace vh::bench {

// The median of `runs` calls of f, in milliseconds.
inline double MedianMs(const std::function<void()>& f, int runs = 11) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        f();
        t.push_back(Ms(Clock::now() - start));
    }
    std::nth_element(t.begin(), t.begin() + runs / 2, t.end());
    return t[static_cast<std::size_t>(runs / 2)];
}

// Sets the counters of an action that took `actionMs` per iteration: the reference's time
// (`refName`, e.g. "cat_ms") and the ratio to it (`ratioName`, e.g. "x_cat").
inline void SetRatio(benchmark::State& state, double actionMs, double refMs,
                     const char* refName = "cat_ms", const char* ratioName = "x_cat") {
    state.counters["ms"] = actionMs;
    state.counters[refName] = refMs;
    state.counters[ratioName] = refMs > 0 ? actionMs / refMs : 0;
}

// Runs the benchmark loop for an action: `prepare` (untimed: typing, choosing) then `act`
// (timed, reported as the iteration's time: register with UseManualTime()). Afterwards the plain
// read of `files` is timed and the ratio set.
template <class Prepare, class Act>
void TimeAction(benchmark::State& state, Prepare&& prepare, Act&& act,
                std::initializer_list<const char*> files) {
    double total = 0, cpu = 0;
    std::int64_t n = 0;
    for (auto _ : state) {
        prepare(n);
        const std::clock_t cpuStart = std::clock();
        const auto start = Clock::now();
        act();
        const auto took = Clock::now() - start;
        cpu += 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        state.SetIterationTime(std::chrono::duration<double>(took).count());
        total += Ms(took);
        ++n;
    }
    // The process's CPU time in the action: what waiting for the disk (the syncs) leaves out.
    state.counters["cpu_ms"] = n ? cpu / static_cast<double>(n) : 0;
    const std::vector<const char*> names(files);
    SetRatio(state, n ? total / static_cast<double>(n) : 0, MedianMs([&] {
                 std::size_t bytes = 0;
                 for (const char* f : names) bytes += ReadPlain({f});
                 benchmark::DoNotOptimize(bytes);
             }));
}

}  // namespace vh::bench
