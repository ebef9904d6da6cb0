// Simulated instructions per second of QV4131 in run mode 0 through
// STDK42XX in its busiest setting: the timer counting at every tick with
// compare enabled, the clock outputs on PB0-PB2, the prescaler requests
// enabled and the watchdog held.
#include "chip_bench.h"

namespace {

using namespace chipbench;

void BM_Qv4131_RunMode_TimerAndClockOutputs(benchmark::State& state) {
  static ChipRun run("QV4131", BENCH_FOLDER,
                     WithCountingLoop({
                         LDI(9), STA(93),    // timer: 300 kHz, counting up
                         LDI(10), STA(94),   // run, compare enabled
                         LDI(7), STA(85),    // PB0-PB2 outputs
                         LDI(7), STA(124),   // with their clock outputs
                         LDI(14), STA(99),   // prescaler requests enabled
                         LDI(1), STA(106),   // watchdog held
                     }));
  RunToBreakpoint(state, run);
  state.SetLabel("target: 100M instructions/s");
}

}  // namespace

BENCHMARK(BM_Qv4131_RunMode_TimerAndClockOutputs)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
