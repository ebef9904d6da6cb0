// Simulated instructions per second of a QV4117 family chip (BENCH_CONTROLLER)
// in run mode 0 through STDK42XX, without a window or display library, one
// periphery step per instruction (at 32 kHz for the gated chips) on its
// busiest setting: the timer at 16 kHz, the millisecond counter running, PB2
// toggling at 2048 Hz, the melody counter on its fastest clock with
// autoreload, the prescaler requests masked in, the watchdog off.
#include "chip_bench.h"

namespace {

using namespace chipbench;

void BM_Qv4117Family_RunMode_BusiestPeriphery(benchmark::State& state) {
  static ChipRun run(BENCH_CONTROLLER, BENCH_FOLDER,
                     WithCountingLoop({
                         JMP(2), JMP(1),     // interrupt vector unused (107 bit 3 clear)
                         LDI(1), STA(91),    // timer at 16 kHz
                         LDI(8), STA(92),    // run
                         LDI(8), STA(96),    // millisecond counter
                         LDI(4), STA(81),    // PB2 an output
                         LDI(4), STA(123),   // toggled at 2048 Hz
                         LDI(6), STA(89),    // melody clock 2 (32 Hz) with autoreload
                         LDI(15), STA(90),   // 15 cycles
                         LDI(14), STA(102),  // blink, 8/32 Hz and 1 Hz requests
                         LDI(2), STA(109),   // 32 Hz
                         LDI(1), STA(115),   // watchdog off
                     }));
  RunToBreakpoint(state, run);
}

}  // namespace

BENCHMARK(BM_Qv4117Family_RunMode_BusiestPeriphery)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
