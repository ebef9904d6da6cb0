// Simulated instructions per second of QV4115 in run mode 0 through
// STDK42XX with its periphery ticking: the timer counting from the 16 kHz
// source with compare enabled, the converter in continuous mode, the
// watchdog held.
#include "chip_bench.h"

namespace {

using namespace chipbench;

void BM_Qv4115_RunMode_TimerAndConverter(benchmark::State& state) {
  static ChipRun run("QV4115", BENCH_FOLDER,
                     WithCountingLoop({
                         LDI(9), STA(98),   // converter: continuous, channel 1
                         LDI(9), STA(93),   // timer: 16 kHz, counting up
                         LDI(10), STA(94),  // run, compare enabled
                         LDI(1), STA(109),  // watchdog held
                     }));
  RunToBreakpoint(state, run);
  state.SetLabel("target: 100M instructions/s");
}

}  // namespace

BENCHMARK(BM_Qv4115_RunMode_TimerAndConverter)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
