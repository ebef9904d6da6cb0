// Simulated instructions per second of QV4116 in run mode 0 through
// STDK42XX, without a window or display library, one periphery step per
// instruction on its busiest setting: the timer at 16 kHz, the millisecond
// counter running, PB0 toggling every step, the comparator on PB0, the
// prescaler requests masked in, the watchdog off.
#include "chip_bench.h"

namespace {

using namespace chipbench;

void BM_Qv4116_RunMode_BusiestPeriphery(benchmark::State& state) {
  static ChipRun run("QV4116", BENCH_FOLDER,
                     WithCountingLoop({
                         JMP(2), JMP(1),     // interrupt vector unused (107 bit 3 clear)
                         LDI(1), STA(91),    // timer at 16 kHz
                         LDI(8), STA(92),    // run
                         LDI(8), STA(96),    // millisecond counter
                         LDI(1), STA(81),    // PB0 an output
                         LDI(2), STA(123),   // toggled every step
                         LDI(1), STA(83),    // comparator on PB0
                         LDI(14), STA(102),  // blink, 8 Hz and 1 Hz requests
                         LDI(1), STA(115),   // watchdog off
                     }));
  RunToBreakpoint(state, run);
}

}  // namespace

BENCHMARK(BM_Qv4116_RunMode_BusiestPeriphery)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
