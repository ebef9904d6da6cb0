// Simulated instructions per second of QV4124 in run mode 0 through
// STDK42XX, with an empty Delay (no window) and four periphery steps per
// instruction: the 10-bit timer running at 16 kHz, the 1 Hz and 32 Hz
// requests masked in, the watchdog off.
#include "chip_bench.h"

namespace {

using namespace chipbench;

// The instructions of one run, counted from the program (single steps would
// take minutes: each call waits 32 us): 13 before the loop (the first jump,
// the set-up and the two NOPs), three per count of each nibble, one last jump.
constexpr int64_t kInstructions =
    13 + 3 * ((1 << 4) + (1 << 8) + (1 << 12) + (1 << 16) + (1 << 20)) + 1;

void BM_Qv4124_RunMode_FourStepsPerInstruction(benchmark::State& state) {
  static ChipRun run("QV4124", BENCH_FOLDER,
                     WithCountingLoop({
                         JMP(2), JMP(1),     // interrupt vector unused (107 bit 3 clear)
                         LDI(1), STA(91),    // timer at 16 kHz
                         LDI(8), STA(92),    // run
                         LDI(12), STA(102),  // 1 Hz and 8/32 Hz requests
                         LDI(2), STA(109),   // 32 Hz
                         LDI(1), STA(115),   // watchdog off
                         NOP, NOP,
                     }),
                     kInstructions);
  RunToBreakpoint(state, run);
}

}  // namespace

BENCHMARK(BM_Qv4124_RunMode_FourStepsPerInstruction)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
