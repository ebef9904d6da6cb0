// Go from the control panel against the engine alone, and the time a Stop
// takes to end a run started from the panel. QV4128 runs the counting
// program of the chip benchmarks (timers and watchdog ticking) to its
// breakpoint: (a) through STDK42XX directly, (b) by F5 on the loaded panel
// with the periphery host and the chip's window open offscreen, (c) by the
// Run button's release on the same panel.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "chip_bench.h"
#include "core/monitor_state.h"
#include "core/vicectrl.h"
#include "debug/iceview.h"
#include "loaded_panel.h"
#include "platform/clock.h"
#include "platform/controls.h"

namespace {

using namespace chipbench;

CountingProgram Program() {
  return WithCountingLoop({LDI(2), STA(64), LDI(4), STA(86), LDI(1), STA(87), LDI(7), STA(88),
                           LDI(1), STA(89), LDI(9), STA(65)},
                          10);
}

ChipRun& Engine() {
  static ChipRun run("QV4128", TAVIX_DIST_DIR, Program());
  return run;
}

int64_t CpuMicros() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// Wall-clock and CPU time of a series of runs (a loaded machine takes the CPU
// away at a run's system calls, which the wall clock counts).
struct RunTimes {
  int64_t micros = 0, cpu = 0, instructions = 0;
  template <class Go>
  bool Time(Go go) {
    const int64_t from = platform::MonotonicMicros(), fromCpu = CpuMicros();
    const bool ok = go();
    micros += platform::MonotonicMicros() - from;
    cpu += CpuMicros() - fromCpu;
    instructions += Engine().instructions();
    return ok;
  }
  double Rate() const { return micros > 0 ? 1e6 * static_cast<double>(instructions) / micros : 0; }
  double CpuRate() const { return cpu > 0 ? 1e6 * static_cast<double>(instructions) / cpu : 0; }
};

// The monitor with the panel loaded on QV4128 and the counting program.
struct LoadedPanel : benchpanel::LoadedPanel {
  LoadedPanel() {
    const CountingProgram program = Program();
    for (size_t i = 0; i < program.code.size(); ++i) state.ProgramMemory[i].instr = program.code[i];
    end = program.end;
    state.ProgramMemory[static_cast<size_t>(end)].flags = k42::kCellBreakpoint;
    QCoreApplication::processEvents();
  }
  void Reset(bool breakpoints) {
    monitor::ResetCommand(state);
    for (int n = 16; n < 21; ++n) state.RegisterFile[static_cast<size_t>(n)].value &= ~15;
    state.CpuState.word[k42::kProgBreakEnable] = breakpoints ? 1 : 0;
  }
  void RunButton() { panel->playimg->onMouseUp(1, 0, 0, 0); }
  void Key(int code) {
    int key = code;
    panel->OnKeyDown(key, 0);
  }
  int end = 0;
};

// Made at first use, gone before the application object.
std::unique_ptr<LoadedPanel> gLoaded;

LoadedPanel& Loaded() {
  if (!gLoaded) gLoaded = std::make_unique<LoadedPanel>();
  return *gLoaded;
}

constexpr int kF5 = platform::vbKeyF1 + 4;

// Each iteration runs the program to its breakpoint twice, alternately: the
// engine alone, then the panel's command (`go`), so that both see the same
// machine load. The counters are named after `what`.
template <class Go>
void CompareWithEngine(benchmark::State& state, const std::string& what, Go go) {
  LoadedPanel& loaded = Loaded();
  ChipRun& engine = Engine();
  RunTimes alone, panel;
  for (auto _ : state) {
    engine.start();
    loaded.Reset(true);
    const bool ended =
        alone.Time([&] { return engine.endedOnBreakpoint(engine.run()); }) && panel.Time([&] {
          go(loaded);
          const auto& word = loaded.state.CpuState.word;
          return word[k42::kPcStack + word[k42::kStackLevel]] == loaded.end &&
                 loaded.panel->wheelpnl->Caption() == "STOP";
        });
    if (!ended) {
      state.SkipWithError("a run did not end on the breakpoint");
      break;
    }
  }
  state.counters["engine_per_s"] = alone.Rate();
  state.counters[what + "_per_s"] = panel.Rate();
  state.counters[what + "_of_engine"] = panel.Rate() / alone.Rate();
  state.counters[what + "_of_engine_cpu"] = panel.CpuRate() / alone.CpuRate();
}

// F5 on the panel.
void BM_GoFromThePanel(benchmark::State& state) {
  CompareWithEngine(state, "panel", [](LoadedPanel& loaded) { loaded.Key(kF5); });
}
BENCHMARK(BM_GoFromThePanel)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

// The Run button's release.
void BM_GoFromTheRunButton(benchmark::State& state) {
  CompareWithEngine(state, "button", [](LoadedPanel& loaded) { loaded.RunButton(); });
}
BENCHMARK(BM_GoFromTheRunButton)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

// A toolkit timer due 20 ms into a Go sends P to the panel; the time from its
// due time to the end of the Go command (the run's return and the redisplay).
void BM_StopFromThePanel(benchmark::State& state) {
  LoadedPanel& loaded = Loaded();
  int64_t worst = 0, sum = 0, runs = 0;
  for (auto _ : state) {
    loaded.Reset(false);
    const int64_t due = platform::MonotonicMicros() + 20000;
    QTimer::singleShot(20, Qt::PreciseTimer, [&] { loaded.Key('P'); });
    loaded.Key(kF5);
    const int64_t latency = platform::MonotonicMicros() - due;
    worst = std::max(worst, latency);
    sum += latency;
    ++runs;
  }
  state.counters["mean_stop_us"] = static_cast<double>(sum) / static_cast<double>(runs);
  state.counters["worst_stop_us"] = static_cast<double>(worst);
}
BENCHMARK(BM_StopFromThePanel)->Unit(benchmark::kMillisecond)->Iterations(50);

// The Stop button released 20 ms into a run started by the Run button: the
// time from the release to the Run handler's return with "STOP" shown.
void BM_StopButtonDuringARun(benchmark::State& state) {
  LoadedPanel& loaded = Loaded();
  std::vector<int64_t> latencies;
  for (auto _ : state) {
    loaded.Reset(false);
    int64_t released = 0;
    QTimer::singleShot(20, Qt::PreciseTimer, [&] {
      released = platform::MonotonicMicros();
      loaded.panel->stopimg->onMouseUp(1, 0, 0, 0);
    });
    loaded.RunButton();
    if (released == 0 || loaded.panel->wheelpnl->Caption() != "STOP") {
      state.SkipWithError("the run did not end by the Stop button");
      break;
    }
    latencies.push_back(platform::MonotonicMicros() - released);
  }
  if (latencies.empty()) return;
  std::sort(latencies.begin(), latencies.end());
  state.counters["median_stop_us"] = static_cast<double>(latencies[latencies.size() / 2]);
  state.counters["worst_stop_us"] = static_cast<double>(latencies.back());
}
BENCHMARK(BM_StopButtonDuringARun)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

int main(int argc, char** argv) {
  return benchpanel::RunOffscreen(argc, argv, [] { gLoaded.reset(); });
}
