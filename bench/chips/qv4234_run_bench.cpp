// Simulated instructions per second of QV4234 in run mode 0 through
// STDK42XX, with its own run loop and periphery ticking: the 10-bit timer on
// the 16 kHz input with compare and end matches, the 8 Hz prescaler and the
// 1 Hz interrupts raising their requests (interrupts disabled, so they
// accumulate). The program counts through five RAM nibbles and stops on a
// program breakpoint. Then the 2,500,000-round sleep countdown, run until the
// reset that ends it.
#include <benchmark/benchmark.h>
#include <k42target.h>
#include <platform/library.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "instruction_words.h"

namespace {

using namespace k42words;

constexpr int kLoop = 14, kEnd = 29;
// The instructions of one run, counted from the program: the set-up, three
// per count of each nibble (the lowest counts 16^5 times, the highest 16).
constexpr int64_t kInstructions = kLoop + 3 * ((1 << 4) + (1 << 8) + (1 << 12) + (1 << 16) + (1 << 20));
const std::vector<uint16_t> kCode = {
    LDI(1), STA(115),              // watchdog off
    LDI(9), STA(91),               // timer: up, 16 kHz (the benchmark's argument)
    LDI(12), STA(95),              // width 4
    LDI(3), STA(93),               // value 3
    LDI(12), STA(101),             // compare and end requests
    LDI(12), STA(102),             // prescaler and 1 Hz requests
    LDI(11), STA(92),              // run, compare enable, load
    INC(16), STA(16), JPNZ(kLoop),
    INC(17), STA(17), JPNZ(kLoop),
    INC(18), STA(18), JPNZ(kLoop),
    INC(19), STA(19), JPNZ(kLoop),
    INC(20), STA(20), JPNZ(kLoop),
    JMP(kEnd),                     // breakpoint
};

struct Target {
  InstructionResetFn reset = nullptr;
  InstructionExecuteFn execute = nullptr;
  CpuState cpu{};
  std::vector<ProgramCell> program = std::vector<ProgramCell>(k42::kProgramCells);
  std::vector<RegisterCell> registers = std::vector<RegisterCell>(k42::kRegisterCells);
  std::vector<TraceEntry> trace = std::vector<TraceEntry>(k42::kTraceEntries);

  Target() {
    platform::LibraryHandle stdk = platform::LoadLibrary("STDK42XX.DLL", TAVIX_DIST_DIR);
    if (stdk == nullptr) fail("STDK42XX");
    auto setController = reinterpret_cast<SetControllerFn>(platform::GetProcAddress(stdk, "SetController"));
    reset = reinterpret_cast<InstructionResetFn>(platform::GetProcAddress(stdk, "Instruction_Reset"));
    execute = reinterpret_cast<InstructionExecuteFn>(platform::GetProcAddress(stdk, "Instruction_Execute"));
    if (setController("QV4234", 0, QV4234_BENCH_FOLDER) != 0) fail("42340000");
    cpu.word[k42::kProgBreakEnable] = 1;
    cpu.word[k42::kTraceLast] = k42::kTraceEntries - 1;
  }

  void load(const std::vector<uint16_t>& code, int breakpoint) {
    for (ProgramCell& c : program) c = ProgramCell{};
    for (size_t i = 0; i < code.size(); ++i) program[i].instr = code[i];
    program[breakpoint].flags = k42::kCellBreakpoint;
  }
  int32_t currentPc() const { return cpu.word[k42::kPcStack + cpu.word[k42::kStackLevel]]; }
  void start() { reset(&cpu, program.data(), registers.data(), trace.data()); }
  int32_t run() { return execute(&cpu, program.data(), registers.data(), trace.data(), k42::kRunModeRun); }

  [[noreturn]] static void fail(const char* what) {
    std::fprintf(stderr, "cannot load %s: %s\n", what, platform::LastLibraryError().c_str());
    std::exit(1);
  }
};

Target& TheTarget() {
  static Target t;
  return t;
}

// Argument: the timer's input (1: 16 kHz, a step every round; 2: 2 kHz).
void BM_Qv4234_RunMode_TimerAndPrescaler(benchmark::State& state) {
  Target& t = TheTarget();
  std::vector<uint16_t> code = kCode;
  code[2] = LDI(8 | static_cast<int>(state.range(0)));
  t.load(code, kEnd);
  int64_t total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    t.start();
    state.ResumeTiming();
    const int32_t result = t.run();
    if (result != k42::kStopProgBreak || t.currentPc() != kEnd) state.SkipWithError("run did not end on the breakpoint");
    total += kInstructions;
  }
  state.counters["instructions/s"] = benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsRate);
}

// 0: JMP 5 (where the reset lands: breakpoint at 5)  5: LDI 4  6: STA 106
// 7: STA 105  8: JMP 8. The run starts at 5, sleeps 2,500,000 rounds, is reset
// and stops on the breakpoint.
void BM_Qv4234_SleepCountdown(benchmark::State& state) {
  Target& t = TheTarget();
  t.load({JMP(5), 0, 0, 0, 0, LDI(4), STA(106), STA(105), JMP(8)}, 5);
  for (auto _ : state) {
    state.PauseTiming();
    t.start();
    t.cpu.word[k42::kPcStack] = 5;
    state.ResumeTiming();
    const int32_t result = t.run();
    if (result != k42::kStopProgBreak || t.currentPc() != 5) state.SkipWithError("sleep did not end in a reset");
  }
  state.counters["rounds/s"] = benchmark::Counter(2.5e6 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_Qv4234_RunMode_TimerAndPrescaler)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Qv4234_SleepCountdown)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
