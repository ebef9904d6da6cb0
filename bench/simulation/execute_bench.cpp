// Simulated instructions per second of Instruction_Execute in run mode,
// through STDK42XX and the test chip loaded by name: a RAM counter and a
// conditional jump, program breakpoints enabled with none hit; then the same
// with trace on in wrap mode and every cell a trace point. A break from the
// chip's tick counter ends each run after a fixed number of rounds.
#include <benchmark/benchmark.h>
#include <k42target.h>
#include <platform/library.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "instruction_words.h"

namespace {

using namespace k42words;

struct Target {
  platform::LibraryHandle stdk = nullptr;
  SetControllerFn setController = nullptr;
  InstructionResetFn reset = nullptr;
  InstructionExecuteFn execute = nullptr;
  void (*breakAtTick)(uint64_t) = nullptr;
  uint64_t (*ticks)() = nullptr;

  CpuState cpu{};
  std::vector<ProgramCell> program = std::vector<ProgramCell>(k42::kProgramCells);
  std::vector<RegisterCell> registers = std::vector<RegisterCell>(k42::kRegisterCells);
  std::vector<TraceEntry> trace = std::vector<TraceEntry>(k42::kTraceEntries);

  Target() {
    stdk = platform::LoadLibrary("STDK42XX.DLL", TAVIX_DIST_DIR);
    if (stdk == nullptr) fail("STDK42XX");
    setController = reinterpret_cast<SetControllerFn>(platform::GetProcAddress(stdk, "SetController"));
    reset = reinterpret_cast<InstructionResetFn>(platform::GetProcAddress(stdk, "Instruction_Reset"));
    execute = reinterpret_cast<InstructionExecuteFn>(platform::GetProcAddress(stdk, "Instruction_Execute"));
    if (setController("TESTCHIP", 0, BENCH_PROGRAM_FOLDER) != 0) fail("the test chip");
    platform::LibraryHandle chip = platform::LoadLibrary("TestChip.DLL", BENCH_PROGRAM_FOLDER);
    breakAtTick = reinterpret_cast<void (*)(uint64_t)>(platform::GetProcAddress(chip, "TestChip_BreakAtTick"));
    ticks = reinterpret_cast<uint64_t (*)()>(platform::GetProcAddress(chip, "TestChip_Ticks"));
    // Counter in RAM 0x10 and a JPNZ loop; a carry into RAM 0x11.
    const uint16_t code[] = {INC(0x10), STA(0x10), JPNZ(0), INC(0x11), STA(0x11), JMP(0)};
    for (size_t i = 0; i < sizeof code / sizeof code[0]; ++i) program[i].instr = code[i];
    program[0x100].flags = k42::kCellBreakpoint;  // enabled, never reached
    reset(&cpu, program.data(), registers.data(), trace.data());
    cpu.word[k42::kProgBreakEnable] = 1;
    cpu.word[k42::kTraceLast] = k42::kTraceEntries - 1;
  }

  [[noreturn]] static void fail(const char* what) {
    std::fprintf(stderr, "cannot load %s: %s\n", what, platform::LastLibraryError().c_str());
    std::exit(1);
  }

  void run(benchmark::State& state) {
    constexpr uint64_t kRounds = 10'000'000;
    uint64_t total = 0;
    for (auto _ : state) {
      breakAtTick(ticks() + kRounds);
      benchmark::DoNotOptimize(execute(&cpu, program.data(), registers.data(), trace.data(), 0));
      total += kRounds;
    }
    state.counters["instructions/s"] =
        benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsRate);
  }
};

Target& TheTarget() {
  static Target t;
  return t;
}

void BM_RunMode_NoTrace(benchmark::State& state) {
  Target& t = TheTarget();
  t.cpu.word[k42::kTraceEnable] = 0;
  for (auto& cell : t.program) cell.flags &= ~k42::kCellTracePoint;
  t.run(state);
}

void BM_RunMode_TraceWrapEveryCell(benchmark::State& state) {
  Target& t = TheTarget();
  t.cpu.word[k42::kTraceEnable] = 1;
  t.cpu.word[k42::kTraceWrap] = 1;
  t.cpu.word[k42::kTraceStopped] = 0;
  for (auto& cell : t.program) cell.flags |= k42::kCellTracePoint;
  t.run(state);
}

}  // namespace

BENCHMARK(BM_RunMode_NoTrace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunMode_TraceWrapEveryCell)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
