#include "chip_bench.h"

#include <platform/library.h>

#include <cstdio>
#include <cstdlib>

namespace chipbench {
namespace {

constexpr int kFirstCounter = 16, kCounters = 5;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "cannot load %s: %s\n", what, platform::LastLibraryError().c_str());
  std::exit(1);
}

template <class Fn>
Fn Export(platform::LibraryHandle library, const char* name) {
  auto fn = reinterpret_cast<Fn>(platform::GetProcAddress(library, name));
  if (fn == nullptr) Fail(name);
  return fn;
}

}  // namespace

CountingProgram WithCountingLoop(std::vector<uint16_t> setup, int loopFrom) {
  CountingProgram p;
  p.code = std::move(setup);
  p.loop = loopFrom >= 0 ? loopFrom : static_cast<int>(p.code.size());
  for (int n = kFirstCounter; n < kFirstCounter + kCounters; ++n)
    p.code.insert(p.code.end(), {INC(n), STA(n), JPNZ(p.loop)});
  p.end = static_cast<int>(p.code.size());
  p.code.push_back(JMP(p.end));
  return p;
}

ChipRun::ChipRun(const char* controller, const char* folder, CountingProgram program,
                 int64_t instructions)
    : program_(std::move(program)) {
  platform::LibraryHandle stdk = platform::LoadLibrary("STDK42XX.DLL", TAVIX_DIST_DIR);
  if (stdk == nullptr) Fail("STDK42XX");
  auto setController = Export<SetControllerFn>(stdk, "SetController");
  reset_ = Export<InstructionResetFn>(stdk, "Instruction_Reset");
  execute_ = Export<InstructionExecuteFn>(stdk, "Instruction_Execute");
  if (setController(controller, 0, folder) != 0) Fail(controller);
  for (size_t i = 0; i < program_.code.size(); ++i) cells_[i].instr = program_.code[i];
  cells_[program_.end].flags = k42::kCellBreakpoint;
  cpu_.word[k42::kProgBreakEnable] = 1;
  cpu_.word[k42::kTraceLast] = k42::kTraceEntries - 1;
  instructions_ = instructions;
  if (instructions_ == 0) {
    start();
    while (currentPc() != program_.end) {
      execute_(&cpu_, cells_.data(), registers_.data(), trace_.data(), k42::kRunModeStep);
      ++instructions_;
    }
  }
}

void ChipRun::start() {
  reset_(&cpu_, cells_.data(), registers_.data(), trace_.data());
  for (int n = kFirstCounter; n < kFirstCounter + kCounters; ++n) registers_[n].value &= ~15;
}

int32_t ChipRun::run() {
  return execute_(&cpu_, cells_.data(), registers_.data(), trace_.data(), k42::kRunModeRun);
}

bool ChipRun::endedOnBreakpoint(int32_t result) const {
  return result == k42::kStopProgBreak && currentPc() == program_.end;
}

int32_t ChipRun::currentPc() const {
  return cpu_.word[k42::kPcStack + cpu_.word[k42::kStackLevel]];
}

void RunToBreakpoint(benchmark::State& state, ChipRun& run) {
  int64_t total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    run.start();
    state.ResumeTiming();
    if (!run.endedOnBreakpoint(run.run())) state.SkipWithError("run did not end on the breakpoint");
    total += run.instructions();
  }
  state.counters["instructions/s"] =
      benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsRate);
}

}  // namespace chipbench
