// Simulated instructions per second of QV4112 in run mode 0 through
// STDK42XX, on its busiest setting: the timer running from 256 Hz with
// autoreload, prescaler tap 3, and on every count a measurement requested
// and the watchdog cleared.
#include "chip_bench.h"

namespace {

using namespace chipbench;

void BM_Qv4112_RunMode_TimerDetectorWatchdog(benchmark::State& state) {
  static ChipRun run("QV4112", BENCH_FOLDER,
                     WithCountingLoop(
                         {
                             LDI(12), STA(114),  // running from 256 Hz, autoreload
                             LDI(3), STA(116),   // prescaler tap 3
                             LDI(1), STA(108),   // on every count: a measurement
                             LDI(8), STA(115),   // and the watchdog cleared
                         },
                         4));
  RunToBreakpoint(state, run);
}

}  // namespace

BENCHMARK(BM_Qv4112_RunMode_TimerDetectorWatchdog)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
