// Simulated instructions per second of QV4124 in run mode 0 through
// STDK42XX, with an empty Delay (no window) and four periphery steps per
// instruction: the 10-bit timer running at 16 kHz, the 1 Hz and 32 Hz
// requests masked in, the watchdog off. The program counts through five RAM
// nibbles and stops on a program breakpoint.
#include <benchmark/benchmark.h>
#include <k42target.h>
#include <platform/library.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr uint16_t LDI(int v) { return static_cast<uint16_t>(0xF800 | v); }
constexpr uint16_t STA(int r) { return static_cast<uint16_t>(0xD000 | r); }
constexpr uint16_t INC(int r) { return static_cast<uint16_t>(0x8600 | r); }
constexpr uint16_t JPNZ(int a) { return static_cast<uint16_t>(0x7000 | a); }
constexpr uint16_t NOP = 0xF0FF;
constexpr uint16_t JMP(int a) { return static_cast<uint16_t>(a); }

constexpr int kLoop = 14, kEnd = 29;
const std::vector<uint16_t> kCode = {
    JMP(2), JMP(1),                    // interrupt vector unused (107 bit 3 clear)
    LDI(1), STA(91),                   // timer at 16 kHz
    LDI(8), STA(92),                   // run
    LDI(12), STA(102),                 // 1 Hz and 8/32 Hz requests
    LDI(2), STA(109),                  // 32 Hz
    LDI(1), STA(115),                  // watchdog off
    NOP, NOP,
    INC(16), STA(16), JPNZ(kLoop),
    INC(17), STA(17), JPNZ(kLoop),
    INC(18), STA(18), JPNZ(kLoop),
    INC(19), STA(19), JPNZ(kLoop),
    INC(20), STA(20), JPNZ(kLoop),
    JMP(kEnd),                         // breakpoint
};

struct Target {
  InstructionResetFn reset = nullptr;
  InstructionExecuteFn execute = nullptr;
  CpuState cpu{};
  std::vector<ProgramCell> program = std::vector<ProgramCell>(k42::kProgramCells);
  std::vector<RegisterCell> registers = std::vector<RegisterCell>(k42::kRegisterCells);
  std::vector<TraceEntry> trace = std::vector<TraceEntry>(k42::kTraceEntries);
  int64_t instructions = 0;

  Target() {
    platform::LibraryHandle stdk = platform::LoadLibrary("STDK42XX.DLL", TAVIX_DIST_DIR);
    if (stdk == nullptr) fail("STDK42XX");
    auto setController = reinterpret_cast<SetControllerFn>(platform::GetProcAddress(stdk, "SetController"));
    reset = reinterpret_cast<InstructionResetFn>(platform::GetProcAddress(stdk, "Instruction_Reset"));
    execute = reinterpret_cast<InstructionExecuteFn>(platform::GetProcAddress(stdk, "Instruction_Execute"));
    if (setController("QV4124", 0, LCD_BENCH_FOLDER) != 0) fail("42240000");
    for (size_t i = 0; i < kCode.size(); ++i) program[i].instr = kCode[i];
    program[kEnd].flags = k42::kCellBreakpoint;
    cpu.word[k42::kProgBreakEnable] = 1;
    cpu.word[k42::kTraceLast] = k42::kTraceEntries - 1;
    // The instructions of one run, counted from the loop (single steps
    // would take minutes: each call waits 32 us): 13 before the loop (the
    // first jump, the set-up and the two NOPs), three per count of each
    // nibble, one last jump.
    start();
    instructions = 13 + 1;
    for (int n = 1; n <= 5; ++n) instructions += 3 * (int64_t{1} << (4 * n));
  }

  int32_t currentPc() const { return cpu.word[k42::kPcStack + cpu.word[k42::kStackLevel]]; }
  void start() {
    reset(&cpu, program.data(), registers.data(), trace.data());
    for (int n = 16; n <= 20; ++n) registers[n].value = 0;
  }

  [[noreturn]] static void fail(const char* what) {
    std::fprintf(stderr, "cannot load %s: %s\n", what, platform::LastLibraryError().c_str());
    std::exit(1);
  }
};

void BM_Qv4124_RunMode_FourStepsPerInstruction(benchmark::State& state) {
  static Target t;
  int64_t total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    t.start();
    state.ResumeTiming();
    const int32_t result = t.execute(&t.cpu, t.program.data(), t.registers.data(), t.trace.data(), 0);
    if (result != k42::kStopProgBreak || t.currentPc() != kEnd) state.SkipWithError("run did not end on the breakpoint");
    total += t.instructions;
  }
  state.counters["instructions/s"] = benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_Qv4124_RunMode_FourStepsPerInstruction)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
