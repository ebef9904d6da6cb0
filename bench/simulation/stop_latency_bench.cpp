// How long a Stop takes to end a run: a toolkit timer due 20 ms after the
// start calls Instruction_Break while the test chip runs a loop in run mode 0
// through STDK42XX; the time from the timer's due time to the return of
// Instruction_Execute is reported. It is bounded by how often the run pump
// lets the toolkit run.
#include <benchmark/benchmark.h>
#include <k42target.h>
#include <platform/clock.h>
#include <platform/library.h>

#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "instruction_words.h"

namespace {

using namespace k42words;

template <class Fn>
Fn Export(platform::LibraryHandle library, const char* name) {
  auto fn = reinterpret_cast<Fn>(platform::GetProcAddress(library, name));
  if (fn == nullptr) {
    std::fprintf(stderr, "missing %s: %s\n", name, platform::LastLibraryError().c_str());
    std::exit(1);
  }
  return fn;
}

void BM_StopEndsARun(benchmark::State& state) {
  platform::LibraryHandle stdk = platform::LoadLibrary("STDK42XX.DLL", TAVIX_DIST_DIR);
  if (stdk == nullptr) std::exit(1);
  auto setController = Export<SetControllerFn>(stdk, "SetController");
  auto reset = Export<InstructionResetFn>(stdk, "Instruction_Reset");
  auto execute = Export<InstructionExecuteFn>(stdk, "Instruction_Execute");
  auto breakRun = Export<InstructionBreakFn>(stdk, "Instruction_Break");
  if (setController("TESTCHIP", 0, BENCH_PROGRAM_FOLDER) != 0) std::exit(1);

  CpuState cpu{};
  std::vector<ProgramCell> program(k42::kProgramCells);
  std::vector<RegisterCell> registers(k42::kRegisterCells);
  std::vector<TraceEntry> trace(k42::kTraceEntries);
  const uint16_t code[] = {INC(0x10), STA(0x10), JPNZ(0), JMP(0)};
  for (size_t i = 0; i < sizeof code / sizeof code[0]; ++i) program[i].instr = code[i];
  reset(&cpu, program.data(), registers.data(), trace.data());

  int64_t worst = 0, total = 0, runs = 0;
  for (auto _ : state) {
    const int64_t due = platform::MonotonicMicros() + 20000;
    QTimer::singleShot(20, Qt::PreciseTimer, [&] { breakRun(k42::kStopStep); });
    execute(&cpu, program.data(), registers.data(), trace.data(), k42::kRunModeRun);
    const int64_t latency = platform::MonotonicMicros() - due;
    worst = std::max(worst, latency);
    total += latency;
    ++runs;
  }
  state.counters["mean_stop_us"] = static_cast<double>(total) / static_cast<double>(runs);
  state.counters["worst_stop_us"] = static_cast<double>(worst);
}

}  // namespace

BENCHMARK(BM_StopEndsARun)->Unit(benchmark::kMillisecond)->Iterations(50);
