// Simulated instructions per second of every chip module on a short loop
// through STDK42XX, with the periphery ticking as the reset leaves it: a run
// of 3,277 instructions (three RAM nibbles counting from 1, 0 and 12), net of
// the cost of a call (a run of one instruction, timed beside it).
// BM_ChipCall times that call alone.
#include "chip_bench.h"

#include <chrono>

namespace {

using namespace chipbench;

constexpr int64_t kLoopInstructions = 3277;

// LDI 1, STA 16, LDI 12, STA 18, then the counting loop over 16..18.
CountingProgram ShortLoop() {
  CountingProgram p;
  p.code = {LDI(1), STA(16), LDI(12), STA(18)};
  p.loop = static_cast<int>(p.code.size());
  for (int n = 16; n <= 18; ++n) p.code.insert(p.code.end(), {INC(n), STA(n), JPNZ(p.loop)});
  p.end = static_cast<int>(p.code.size());
  p.code.push_back(JMP(p.end));
  return p;
}

// One instruction, then the breakpoint.
CountingProgram OneInstruction() { return CountingProgram{{JMP(1), JMP(1)}, 0, 1}; }

double Seconds(ChipRun& run, bool& ok) {
  run.start();
  const auto from = std::chrono::steady_clock::now();
  ok = run.endedOnBreakpoint(run.run()) && ok;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

void BM_ChipLoop(benchmark::State& state, const char* controller) {
  ChipRun loop(controller, BENCH_FOLDER, ShortLoop(), kLoopInstructions);
  ChipRun call(controller, BENCH_FOLDER, OneInstruction(), 1);
  double net = 0;
  bool ok = true;
  for (auto _ : state) {
    const double seconds = Seconds(loop, ok) - Seconds(call, ok);
    state.SetIterationTime(seconds > 0 ? seconds : 0);
    net += seconds;
  }
  if (!ok) state.SkipWithError("a run did not end on its breakpoint");
  const double instructions = static_cast<double>((kLoopInstructions - 1) * state.iterations());
  state.counters["M instr/s net"] = net > 0 ? instructions / net / 1e6 : 0;
}

void BM_ChipCall(benchmark::State& state, const char* controller) {
  ChipRun call(controller, BENCH_FOLDER, OneInstruction(), 1);
  for (auto _ : state) {
    state.PauseTiming();
    call.start();
    state.ResumeTiming();
    if (!call.endedOnBreakpoint(call.run())) state.SkipWithError("the run did not end on its breakpoint");
  }
}

constexpr const char* kControllers[] = {"QV4111", "QV4112", "QV4114", "QV4115", "QV4116",
                                        "QV4117", "QV4118", "QV4119", "QV4123", "QV4124",
                                        "QV4128", "QV4131", "QV4234"};

const bool kRegistered = [] {
  for (const char* c : kControllers) {
    benchmark::RegisterBenchmark((std::string("BM_ChipLoop/") + c).c_str(), BM_ChipLoop, c)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((std::string("BM_ChipCall/") + c).c_str(), BM_ChipCall, c)
        ->Unit(benchmark::kMicrosecond);
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
