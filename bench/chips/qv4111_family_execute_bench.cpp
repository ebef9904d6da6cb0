// Simulated instructions per second of the QV4111 family in run mode 0
// through STDK42XX, on their busiest setting: the timer enabled from the
// 2048 Hz source with autoreload and reload 1, so every step reaches 0 and
// reloads; the timer request and prescaler tap 3 selected; the watchdog
// held; interrupts off. QV4114 adds a detector level and the comparator
// active on PE1.
#include "chip_bench.h"

namespace {

using namespace chipbench;

std::vector<uint16_t> TimerSetup() {
  return {
      LDI(8),  STA(126),                   // timer enabled
      LDI(9),  STA(98),                    // 2048 Hz, autoreload
      LDI(0),  STA(97),  LDI(1), STA(96),  // reload 1: started
      LDI(11), STA(125),                   // timer request, prescaler tap 3
      LDI(1),  STA(99),                    // watchdog held
  };
}

void BM_Qv4111_RunMode_TimerAtZeroEveryStep(benchmark::State& state) {
  static ChipRun run("QV4111", BENCH_FOLDER, WithCountingLoop(TimerSetup()));
  RunToBreakpoint(state, run);
}

void BM_Qv4114_RunMode_TimerAndComparator(benchmark::State& state) {
  std::vector<uint16_t> setup = TimerSetup();
  setup.insert(setup.end(), {
                                LDI(1), STA(108),  // detector level 1
                                LDI(3), STA(123),  // comparator active on PE1
                            });
  static ChipRun run("QV4114", BENCH_FOLDER, WithCountingLoop(setup));
  RunToBreakpoint(state, run);
}

}  // namespace

BENCHMARK(BM_Qv4111_RunMode_TimerAtZeroEveryStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Qv4114_RunMode_TimerAndComparator)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
