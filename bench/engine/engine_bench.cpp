// How much handheld time the engine simulates per second of real time: a
// long Game B played by the built-in player on the virtual clock.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "tools/sim/simulation.h"

namespace {

using namespace mk::sim;

constexpr std::int64_t kPlayMs = 10 * 60 * 1000;

std::vector<ScriptEvent> gameBStart() {
  std::vector<ScriptEvent> events;
  parseScript("100 down TIME\n200 up TIME\n1000 down RIGHT\n1080 up RIGHT\n", "bench", events);
  return events;
}

void runGameB(benchmark::State& state, std::FILE* trace) {
  Options options;
  options.autoplay = true;
  options.seed = 7;
  std::int64_t simulated = 0;
  std::uint64_t timers = 0;
  for (auto _ : state) {
    mk::lcd::ElementModel display;
    Simulation sim(options, gameBStart(), display, trace);
    sim.runTo(kPlayMs);
    if (sim.engine().state().GameMode != mk::engine::kModeGameB) {
      state.SkipWithError("the game ended early: the figure would not be play time");
      break;
    }
    simulated += kPlayMs;
    timers += sim.clock().firedCount();
    benchmark::DoNotOptimize(sim.engine().state().Score);
  }
  state.counters["sim_ms_per_s"] = benchmark::Counter(static_cast<double>(simulated), benchmark::Counter::kIsRate);
  state.counters["x_realtime"] = benchmark::Counter(static_cast<double>(simulated) / 1000.0, benchmark::Counter::kIsRate);
  state.counters["timer_ticks_per_s"] = benchmark::Counter(static_cast<double>(timers), benchmark::Counter::kIsRate);
}

void BM_AutoplayGameB_TraceOff(benchmark::State& state) { runGameB(state, nullptr); }
BENCHMARK(BM_AutoplayGameB_TraceOff)->Unit(benchmark::kMillisecond);

// The same with every trace line formatted and written (to /dev/null).
void BM_AutoplayGameB_TraceToNull(benchmark::State& state) {
  std::FILE* sink = std::fopen("/dev/null", "w");
  if (!sink) {
    state.SkipWithError("cannot open /dev/null");
    return;
  }
  runGameB(state, sink);
  std::fclose(sink);
}
BENCHMARK(BM_AutoplayGameB_TraceToNull)->Unit(benchmark::kMillisecond);

}  // namespace
