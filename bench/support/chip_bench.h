#pragma once
// A chip module bound through STDK42XX from a bench program folder, running a
// program that sets the periphery up, counts through five RAM nibbles and
// ends on a program breakpoint; and the benchmark loop that reports
// simulated instructions per second.
#include <benchmark/benchmark.h>
#include <k42target.h>

#include <cstdint>
#include <vector>

#include "instruction_words.h"

namespace chipbench {

using namespace k42words;

// `setup` followed by the counting loop over RAM 16..20 and the final jump,
// which carries the breakpoint. The loop starts after the setup, or at
// `loopFrom` within it (the setup's tail then runs on every count).
struct CountingProgram {
  std::vector<uint16_t> code;
  int loop = 0;  // first instruction of the loop
  int end = 0;   // the breakpoint
};
CountingProgram WithCountingLoop(std::vector<uint16_t> setup, int loopFrom = -1);

class ChipRun {
 public:
  // Binds `controller` from the TAVIX.INI of `folder` and loads `program`.
  // `instructions` of one run: 0 counts them once by single steps.
  ChipRun(const char* controller, const char* folder, CountingProgram program,
          int64_t instructions = 0);

  void start();       // reset, RAM counters cleared
  int32_t run();      // run mode 0 until a stop
  bool endedOnBreakpoint(int32_t result) const;
  int64_t instructions() const { return instructions_; }

 private:
  int32_t currentPc() const;

  InstructionResetFn reset_ = nullptr;
  InstructionExecuteFn execute_ = nullptr;
  CountingProgram program_;
  int64_t instructions_ = 0;
  CpuState cpu_{};
  std::vector<ProgramCell> cells_ = std::vector<ProgramCell>(k42::kProgramCells);
  std::vector<RegisterCell> registers_ = std::vector<RegisterCell>(k42::kRegisterCells);
  std::vector<TraceEntry> trace_ = std::vector<TraceEntry>(k42::kTraceEntries);
};

// The timed loop: one run per iteration, set up outside the timing.
void RunToBreakpoint(benchmark::State& state, ChipRun& run);

}  // namespace chipbench
