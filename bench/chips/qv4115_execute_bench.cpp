// Simulated instructions per second of QV4115 in run mode 0 through
// STDK42XX with its periphery ticking: the timer counting from the 16 kHz
// source with compare enabled, the converter in continuous mode, the
// watchdog held. The program counts through five RAM nibbles and stops on a
// program breakpoint.
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
constexpr uint16_t JMP(int a) { return static_cast<uint16_t>(a); }

constexpr int kLoop = 8, kEnd = 23;
const std::vector<uint16_t> kCode = {
    LDI(9), STA(98),    // converter: continuous, channel 1
    LDI(9), STA(93),    // timer: 16 kHz, counting up
    LDI(10), STA(94),   // run, compare enabled
    LDI(1), STA(109),   // watchdog held
    INC(16), STA(16), JPNZ(kLoop),
    INC(17), STA(17), JPNZ(kLoop),
    INC(18), STA(18), JPNZ(kLoop),
    INC(19), STA(19), JPNZ(kLoop),
    INC(20), STA(20), JPNZ(kLoop),
    JMP(kEnd),          // breakpoint
};

struct Target {
  InstructionResetFn reset = nullptr;
  InstructionExecuteFn execute = nullptr;
  CpuState cpu{};
  std::vector<ProgramCell> program = std::vector<ProgramCell>(k42::kProgramCells);
  std::vector<RegisterCell> registers = std::vector<RegisterCell>(k42::kRegisterCells);
  std::vector<TraceEntry> trace = std::vector<TraceEntry>(k42::kTraceEntries);
  int64_t instructions = 0;  // per run, counted once by single steps

  Target() {
    platform::LibraryHandle stdk = platform::LoadLibrary("STDK42XX.DLL", TAVIX_DIST_DIR);
    if (stdk == nullptr) fail("STDK42XX");
    auto setController = reinterpret_cast<SetControllerFn>(platform::GetProcAddress(stdk, "SetController"));
    reset = reinterpret_cast<InstructionResetFn>(platform::GetProcAddress(stdk, "Instruction_Reset"));
    execute = reinterpret_cast<InstructionExecuteFn>(platform::GetProcAddress(stdk, "Instruction_Execute"));
    if (setController("QV4115", 0, QV4115_BENCH_FOLDER) != 0) fail("42150000");
    for (size_t i = 0; i < kCode.size(); ++i) program[i].instr = kCode[i];
    program[kEnd].flags = k42::kCellBreakpoint;
    cpu.word[k42::kProgBreakEnable] = 1;
    cpu.word[k42::kTraceLast] = k42::kTraceEntries - 1;
    start();
    while (currentPc() != kEnd) {
      execute(&cpu, program.data(), registers.data(), trace.data(), k42::kRunModeStep);
      ++instructions;
    }
  }

  int32_t currentPc() const { return cpu.word[k42::kPcStack + cpu.word[k42::kStackLevel]]; }
  void start() { reset(&cpu, program.data(), registers.data(), trace.data()); }

  [[noreturn]] static void fail(const char* what) {
    std::fprintf(stderr, "cannot load %s: %s\n", what, platform::LastLibraryError().c_str());
    std::exit(1);
  }
};

void BM_Qv4115_RunMode_TimerAndConverter(benchmark::State& state) {
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

BENCHMARK(BM_Qv4115_RunMode_TimerAndConverter)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
