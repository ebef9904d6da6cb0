// Simulated instructions per second of QV4128 in run mode 0 through
// STDK42XX, with its periphery ticking: both timers running with auto
// reload, the watchdog enabled and cleared by the program in its loop.
#include "chip_bench.h"

namespace {

using namespace chipbench;

void BM_Qv4128_RunMode_PeripheryTicking(benchmark::State& state) {
  static ChipRun run("QV4128", BENCH_FOLDER,
                     WithCountingLoop({
                         LDI(2), STA(64),                   // interrupts masked: requests accumulate
                         LDI(4), STA(86), LDI(1), STA(87),  // Timer1 512 Hz, auto reload, start 1
                         LDI(7), STA(88), LDI(1), STA(89),  // Timer2 256 Hz, auto reload, start 1
                         LDI(9), STA(65),                   // loop: clear the watchdog
                     },
                     10));
  RunToBreakpoint(state, run);
}

}  // namespace

BENCHMARK(BM_Qv4128_RunMode_PeripheryTicking)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
