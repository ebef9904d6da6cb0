#pragma once
// The round primitives (pump, tick, interrupt entry, trace, fetch and
// advance, execute, breakpoint test, end of run), the default run loop built
// from them, and the reset export.
#include <algorithm>

#include "simcore/chip_core.h"
#include "simcore/vice_error.h"

namespace simcore {

template <class Chip>
int32_t ChipCore<Chip>::Instruction_Reset(CpuState* cpu, ProgramCell* program,
                                          RegisterCell* registers, TraceEntry* trace) {
  keepRecords(cpu, program, registers, trace);
  for (int n = k42::kAcc; n <= k42::kHalted; ++n) cpu->word[n] = 0;
  chip().Periphery_Reset();
  return 0;
}

template <class Chip>
int32_t ChipCore<Chip>::Instruction_Execute(CpuState* cpu, ProgramCell* program,
                                            RegisterCell* registers, TraceEntry* trace,
                                            int32_t mode) {
  keepRecords(cpu, program, registers, trace);
  return chip().RunLoop(mode);
}

template <class Chip>
[[gnu::always_inline]] inline bool ChipCore<Chip>::checkStack() {
  const int32_t level = cpu_->word[k42::kStackLevel];
  if (static_cast<uint32_t>(level) <= static_cast<uint32_t>(k42::kMaxStackLevel)) [[likely]]
    return true;
  return stackError(level);
}

template <class Chip>
bool ChipCore<Chip>::stackError(int32_t level) {
  // A level the monitor or a file put there: the stack cannot be used.
  ViceError(level < 0 ? kRetWithoutCall : kCallStackFull);
  stopFlags_ = k42::kStopError;
  return false;
}

template <class Chip>
bool ChipCore<Chip>::beginRun(int32_t mode) {
  stopFlags_ = mode;
  if (!checkStack()) return false;
  chip().SamplePorts();
  pump_.BeginRun();
  return true;
}

template <class Chip>
bool ChipCore<Chip>::afterEvents(int32_t& pc) {
  if (!checkStack()) return false;  // the level names no counter
  cpuReset_ = false;
  pc = loadPc();
  return true;
}

template <class Chip>
void ChipCore<Chip>::dispatchAll() {
  while (platform::DispatchOneMessage()) {
  }
}

template <class Chip>
bool ChipCore<Chip>::pumpAll() {
  // A post makes the next Pump() take its slow path, so pending messages are
  // looked for only then.
  if (!pump()) [[likely]]
    return false;
  while (platform::DispatchOneMessage()) {
  }
  return true;
}

template <class Chip>
[[gnu::always_inline]] inline int32_t ChipCore<Chip>::interruptEnter(int32_t mode) {
  if (cpu_->word[k42::kInInterrupt] != 0) return 0;
  if (!chip().InterruptRequested()) return 0;
  return takeInterrupt(mode);
}

template <class Chip>
bool ChipCore<Chip>::pushInterrupt() {
  int32_t* w = cpu_->word;
  if (w[k42::kStackLevel] >= k42::kMaxStackLevel) {
    ViceError(kInterruptStackFull);
    return false;
  }
  w[k42::kStackLevel] += 1;
  currentPc() = k42::kInterruptVector;
  w[k42::kInInterrupt] = 1;
  w[k42::kHalted] = 0;
  return true;
}

template <class Chip>
int32_t ChipCore<Chip>::takeInterrupt(int32_t mode) {
  if (!pushInterrupt()) return -1;
  int32_t* w = cpu_->word;
  int32_t result = 1;
  if (w[k42::kProgBreakEnable] != 0) {
    w[k42::kProgBreakHit] = program_[k42::kInterruptVector].flags & k42::kCellBreakpoint;
    if (w[k42::kProgBreakHit] != 0) result = 2;
  }
  return mode == k42::kRunModeStep ? 2 : result;
}

template <class Chip>
void ChipCore<Chip>::traceFull() {
  stopFlags_ |= k42::kStopTraceFull;
  cpu_->word[k42::kTraceFull] = 1;
  cpu_->word[k42::kTraceStopped] = 1;
}

// Writes one entry at the trace index, never outside 0..min(word 28, 8191):
// an index outside is the end of the buffer (wrap to 0, or full).
template <class Chip>
void ChipCore<Chip>::writeTraceEntry(int32_t pc) {
  int32_t* w = cpu_->word;
  const int32_t last = std::min(w[k42::kTraceLast], k42::kTraceEntries - 1);
  int32_t index = w[k42::kTraceIndex];
  if (index < 0 || index > last) [[unlikely]] {
    if (w[k42::kTraceWrap] == 0) {
      traceFull();
      return;
    }
    index = 0;
    if (last < 0) {
      w[k42::kTraceIndex] = 0;
      return;
    }
  }
  storeTraceEntry(index, pc);
  if (++index > last) {
    if (w[k42::kTraceWrap] != 0)
      index = 0;
    else
      traceFull();
  }
  w[k42::kTraceIndex] = index;
}

// Every instruction, trace points or not, with word 26 not tested: when the
// index passes the end, word 26 := 1, and without wrap the run stops with
// flag 4 and word 19 := 1; the index restarts at 0 either way. The write
// stays within 0..min(word 28, 8191): an index outside restarts at 0 first,
// and with word 28 below 0 nothing is written.
template <class Chip>
void ChipCore<Chip>::writeEveryTraceEntry(int32_t pc) {
  int32_t* w = cpu_->word;
  const int32_t last = std::min(w[k42::kTraceLast], k42::kTraceEntries - 1);
  if (last < 0) [[unlikely]]
    return;
  int32_t index = w[k42::kTraceIndex];
  if (index < 0 || index > last) [[unlikely]]
    index = 0;
  storeTraceEntry(index, pc);
  if (++index > last) {
    w[k42::kTraceStopped] = 1;
    if (w[k42::kTraceWrap] == 0) {
      stopFlags_ |= k42::kStopTraceFull;
      w[k42::kTraceFull] = 1;
    }
    index = 0;
  }
  w[k42::kTraceIndex] = index;
}

template <class Chip>
void ChipCore<Chip>::storeTraceEntry(int32_t index, int32_t pc) {
  const int32_t* w = cpu_->word;
  TraceEntry& entry = trace_[index];
  entry.pc = pc;
  entry.acc = w[k42::kAcc];
  entry.flags = (w[k42::kCarry] != 0 ? k42::kTraceCarry : 0) |
                (w[k42::kProgBreakHit] != 0 ? k42::kTraceProgBreak : 0) |
                (w[k42::kDataBreakHit] != 0 ? k42::kTraceDataBreak : 0);
}

template <class Chip>
int32_t ChipCore<Chip>::endRun() {
  chip().ShowDeferredState();
  if constexpr (!Chip::kKeepRegisterPointer) registers_ = nullptr;
  // An error result (-1) is not a data-breakpoint hit, though it has bit 1.
  if (stopFlags_ != k42::kStopError && (stopFlags_ & k42::kStopDataBreak) != 0)
    cpu_->word[k42::kDataBreakHit] = 1;
  return stopFlags_;
}

template <class Chip>
int32_t ChipCore<Chip>::RunLoop(int32_t mode) {
  // Only a pumped event can move the stack level out of range between
  // instructions; the interpreter checks its own stack moves.
  runRounds(
      mode, []() TAVIX_INLINE_ROUND {}, [this](int32_t& pc) TAVIX_INLINE_ROUND { return pump(pc); },
      [this, mode](int32_t& pc) TAVIX_INLINE_ROUND {
        chip().Periphery_Tick();
        reloadPcAfterReset(pc);
        return enterAndStep(mode, pc);
      });
  return endRun();
}

}  // namespace simcore
