#pragma once
// The simulation framework of a chip module, as a base class over the chip
// (CRTP): the chip's register map, periphery step and interrupt condition are
// bound at compile time, so each module's run loop is compiled and inlined
// for its own chip.
//
// A chip class derives from ChipCore<Chip> and provides (see
// docs/chip-modules.md):
//   static constexpr RegisterSet kPeriphery;      registers with behaviour
//   int32_t Periphery_Read(int32_t n);            value of such a register
//   void Periphery_Write(int32_t n, int32_t v);   store and side effects
//   void Periphery_Tick();                        one round of periphery time
//   void Periphery_Reset();                       power-on reset
//   void SamplePorts();                           the port samplers, in order
//   bool InterruptRequested();                    the interrupt condition
// and may hide the defaults below (RunLoop, InitInterface, CurposDlg,
// ModuleAttach, ModuleDetach, kKeepRegisterPointer, ShowDeferredState, the
// controller options).
#include <k42target.h>
#include <platform/messages.h>

#include <cstdint>

#include "simcore/field.h"
#include "simcore/register_set.h"

// A loop's pump and round lambdas are inlined into the scaffold like the
// primitives they compose (a lambda's call operator takes the attribute
// after its parameters).
#define TAVIX_INLINE_ROUND __attribute__((always_inline))

namespace simcore {

template <class Chip>
class ChipCore {
 public:
  // ---- Exports (bodies of the module's extern "C" functions).
  int32_t Instruction_Reset(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                            TraceEntry* trace);
  int32_t Instruction_Execute(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                              TraceEntry* trace, int32_t mode);
  int32_t Instruction_Break(int32_t bits) { return stopFlags_ |= bits; }
  int32_t Monitor_Write(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                        TraceEntry* trace, int32_t reg, int32_t value);

  // ---- Window and module hooks; the periphery window framework fills them.
  int32_t InitInterface(void* /*hostWindow*/) { return 0; }
  intptr_t CurposDlg(void* /*window*/, uint32_t /*message*/, uintptr_t /*wParam*/,
                     intptr_t /*lParam*/) {
    return 0;
  }
  void ModuleAttach() {}
  void ModuleDetach() {}

  // The LCD family keeps the register-file pointer set after a run.
  static constexpr bool kKeepRegisterPointer = false;
  // A chip that lets the register file fall behind its model between
  // observations (a counter shown in registers, brought up to date only
  // when looked at) brings it up to date here: called before events and at
  // the end of a run; its register accesses do it themselves.
  void ShowDeferredState() {}

  // ---- Register file access (the CPU's and the monitor's path).
  // n = -1 is the register that the index register names.
  int32_t Register_Read(int32_t n);
  void Register_Write(int32_t n, int32_t value);

  // ---- The interpreter: 0 after a completed instruction, -1 after a stack
  // error it has reported.
  int32_t Instruction_Step(uint32_t word);
  // The same with the program counter of the current level held by the
  // caller (already advanced past this instruction).
  int32_t Instruction_Step(uint32_t word, int32_t& pc);

  // ---- The round, as primitives that run-loop variants compose.
  // Stop flags = mode; checks the stack level; samples the ports; arms the
  // pump. False: the run ends at once with -1.
  bool beginRun(int32_t mode);
  // True when events may have run (the slow path of the pump).
  [[gnu::always_inline]] bool pump() {
    if (!pump_.Due()) [[likely]]
      return false;
    chip().ShowDeferredState();
    pump_.RunEvents();
    return true;
  }
  // Variant pump of some chips: every pending message, not only one.
  bool pumpAll();
  // False (and stop flags -1, after the message) when the stack level is
  // outside 0..2.
  bool checkStack();
  // Interrupt_Enter: 0 none taken, 1 taken, 2 taken and the run stops now,
  // -1 error (reported).
  int32_t interruptEnter(int32_t mode);

  // The instruction primitives. A loop may hold the program counter of the
  // current stack level in a local (`pc`, always 0..4095): loadPc() at the
  // start of the run and after anything that may move it outside the
  // interpreter (events, interrupt entry, a CPU reset), storePc() before
  // anything that may read it and at the end of the run. The forms without
  // `pc` work on CpuState directly.
  int32_t loadPc() { return currentPc() & k42::kPcMask; }
  void storePc(int32_t pc) { currentPc() = pc; }
  // The pump with a held program counter. When events are due the counter
  // goes to CpuState first, so the events see it (and may change it: a reset
  // from a pin click, an edit), and is loaded again after them. pumpAll(pc)
  // dispatches every posted message. False when an event left the stack
  // level outside 0..2 (reported, stop flags -1): the run ends with endRun().
  [[gnu::always_inline]] bool pump(int32_t& pc) {
    if (!pump_.Due()) [[likely]]
      return true;
    storePc(pc);
    chip().ShowDeferredState();
    pump_.RunEvents();
    return afterEvents(pc);
  }
  [[gnu::always_inline]] bool pumpAll(int32_t& pc) {
    if (!pump_.Due()) [[likely]]
      return true;
    storePc(pc);
    chip().ShowDeferredState();
    pump_.RunEvents();
    dispatchAll();
    return afterEvents(pc);
  }
  // Takes the counter back after events ran outside the pump (a wait for
  // events, with the counter stored before it).
  bool afterEvents(int32_t& pc);
  // Interrupt entry with a held program counter.
  [[gnu::always_inline]] int32_t interruptEnter(int32_t mode, int32_t& pc) {
    // Outside an interrupt with none requested, the common case, runs
    // straight through.
    if (cpu_->word[k42::kInInterrupt] != 0) return 0;
    if (chip().InterruptRequested()) [[unlikely]] {
      storePc(pc);
      const int32_t r = takeInterrupt(mode);
      pc = loadPc();
      return r;
    }
    return 0;
  }
  // Interrupt entry as a loop uses it: false when the loop must end (a stop
  // at the interrupt vector, or an error with stop flags -1).
  [[gnu::always_inline]] bool enterInterrupt(int32_t mode, int32_t& pc) {
    const int32_t r = interruptEnter(mode, pc);
    if (r == 0 || r == 1) [[likely]]
      return true;
    if (r < 0) stopFlags_ = k42::kStopError;
    return false;
  }
  // Interrupt entry that never stops the run by itself: no breakpoint test
  // at the vector and no single-step stop. False after the stack-full
  // message, with stop flags -1 (the loop must end).
  bool enterInterruptDirect(int32_t& pc) {
    storePc(pc);
    if (!pushInterrupt()) {
      stopFlags_ = k42::kStopError;
      return false;
    }
    pc = loadPc();
    return true;
  }
  // After a periphery step: a CPU reset by the periphery moved the counter.
  [[gnu::always_inline]] void reloadPcAfterReset(int32_t& pc) {
    if (cpuReset_) [[unlikely]] {
      cpuReset_ = false;
      pc = loadPc();
    }
  }
  [[gnu::always_inline]] void recordTrace(int32_t pc) {
    const int32_t* w = cpu_->word;
    if (w[k42::kTraceEnable] != 0) [[unlikely]]
      if (w[k42::kTraceStopped] == 0 && (programCell(pc).flags & k42::kCellTracePoint) != 0)
        writeTraceEntry(pc);
  }
  [[gnu::always_inline]] uint32_t fetchAndAdvance(int32_t& pc) {
    const uint32_t word = static_cast<uint32_t>(programCell(pc).instr) & 0xFFFF;
    pc = (pc + 1) & k42::kPcMask;
    return word;
  }
  [[gnu::always_inline]] void execute(uint32_t word, int32_t& pc) {
    if (Instruction_Step(word, pc) != 0) [[unlikely]]
      stopFlags_ = k42::kStopError;
    reloadPcAfterReset(pc);
  }
  [[gnu::always_inline]] void testProgramBreakpoint(int32_t pc) {
    // A run under the debugger has its breakpoints on: that test runs
    // straight through.
    int32_t* w = cpu_->word;
    if (w[k42::kProgBreakEnable] != 0) [[likely]] {
      const int32_t hit = programCell(pc).flags & k42::kCellBreakpoint;
      w[k42::kProgBreakHit] = hit;
      if (hit != 0) [[unlikely]]
        stopFlags_ |= k42::kStopProgBreak;
    }
  }
  // Trace, fetch and advance, execute, program-breakpoint test.
  [[gnu::always_inline]] void stepInstruction(int32_t& pc) {
    recordTrace(pc);
    execute(fetchAndAdvance(pc), pc);
    testProgramBreakpoint(pc);
  }
  // The trace of a loop that records every instruction while word 22 is
  // set (no trace points, no test of word 26); see writeEveryTraceEntry.
  [[gnu::always_inline]] void recordEveryInstruction(int32_t pc) {
    if (cpu_->word[k42::kTraceEnable] != 0) [[unlikely]]
      writeEveryTraceEntry(pc);
  }
  [[gnu::always_inline]] void recordTrace() { recordTrace(loadPc()); }
  [[gnu::always_inline]] uint32_t fetchAndAdvance() {
    int32_t pc = loadPc();
    const uint32_t word = fetchAndAdvance(pc);
    storePc(pc);
    return word;
  }
  [[gnu::always_inline]] void execute(uint32_t word) {
    if (Instruction_Step(word) != 0) stopFlags_ = k42::kStopError;
  }
  [[gnu::always_inline]] void testProgramBreakpoint() { testProgramBreakpoint(loadPc()); }
  [[gnu::always_inline]] void stepInstruction() {
    int32_t pc = loadPc();
    stepInstruction(pc);
    storePc(pc);
  }
  bool halted() const { return cpu_->word[k42::kHalted] != 0; }
  bool stopped() const { return stopFlags_ != 0; }
  int32_t endRun();

  // What a loop's round asks for: the stop test and the next pass, the end
  // of the run with the counter stored, or the end now (the counter is
  // already in CpuState, where events left it). Rest: the part of a counted
  // loop that runs in due rounds only lets the rest of the round run.
  enum class Pass : uint8_t { Next, Stop, EndNow, Rest };
  // The scaffold of every run loop: begin (nothing runs when it fails),
  // `start()`, then each pass `pumpStep(pc)` (false: the run ends now), the
  // loop's `round(pc)` and the stop test; the held counter stored at the
  // end. The caller ends the run (endRun()). Each loop supplies only its
  // pump variant and its round; everything inlines.
  template <class Start, class PumpStep, class Round>
  [[gnu::always_inline]] void runRounds(int32_t mode, Start&& start, PumpStep&& pumpStep, Round&& round) {
    if (!beginRun(mode)) return;
    start();
    int32_t pc = loadPc();
    for (;;) {
      if (!pumpStep(pc)) [[unlikely]]
        return;
      const Pass pass = round(pc);
      if (pass == Pass::EndNow) [[unlikely]]
        return;
      if (pass == Pass::Stop || stopFlags_ != 0) [[unlikely]]
        break;
    }
    storePc(pc);
  }
  // The scaffold of a loop whose periphery counts its rounds down to the
  // next one with work (`countdown`, a periphery::RoundCountdown, armed
  // anew at the start): each pass the pump, then in a due round only
  // `dueRound(before, pc)` with the rounds counted before it (Pass::Rest:
  // the round goes on; any other ends the pass as a round does), then
  // `round(pc)`.
  template <class Countdown, class PumpStep, class DueRound, class Round>
  [[gnu::always_inline]] void runCountedRounds(int32_t mode, Countdown& countdown, PumpStep&& pumpStep,
                                               DueRound&& dueRound, Round&& round) {
    runRounds(
        mode, [&countdown]() TAVIX_INLINE_ROUND { countdown.dueNext(); }, pumpStep,
        [&countdown, dueRound, round](int32_t& pc) TAVIX_INLINE_ROUND {
          if (countdown.due()) [[unlikely]] {
            const Pass pass = dueRound(countdown.takeBeforeDue(), pc);
            if (pass != Pass::Rest) return pass;
          }
          return round(pc);
        });
  }
  // The end of the common round: the interrupt entry, then the instruction
  // unless halted.
  [[gnu::always_inline]] Pass enterAndStep(int32_t mode, int32_t& pc) {
    if (!enterInterrupt(mode, pc)) [[unlikely]]
      return Pass::Stop;
    if (!halted()) [[likely]]
      stepInstruction(pc);
    return Pass::Next;
  }
  // The default loop; a chip with its own loop hides it.
  int32_t RunLoop(int32_t mode);

  int32_t stopFlags() const { return stopFlags_; }
  // The last value written into each periphery register (see field.h).
  const RegisterLatch& latch() const { return latch_; }

 protected:
  Chip& chip() { return static_cast<Chip&>(*this); }
  void keepRecords(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                   TraceEntry* trace) {
    cpu_ = cpu;
    program_ = program;
    registers_ = registers;
    trace_ = trace;
  }
  int32_t& word(int n) { return cpu_->word[n]; }
  // The program cell at a held counter (0..4095; unsigned, so the index
  // needs no sign extension).
  const ProgramCell& programCell(int32_t pc) const { return program_[static_cast<uint32_t>(pc)]; }
  int32_t& currentPc() { return cpu_->word[k42::kPcStack + cpu_->word[k42::kStackLevel]]; }
  int32_t& carry() {
    return cpu_->word[cpu_->word[k42::kInInterrupt] == 1 ? k42::kCarryInt : k42::kCarry];
  }
  // The CPU's part of a power-on or watchdog reset: words 0-10 cleared,
  // except those a chip's reset keeps (bit n of `keep`: word n). A loop
  // holding the program counter reloads it after the periphery step or
  // instruction that called this.
  void resetCpu(uint32_t keep = 0) {
    for (int n = k42::kAcc; n <= k42::kHalted; ++n)
      if (((keep >> n) & 1) == 0) cpu_->word[n] = 0;
    cpuReset_ = true;
  }
  // The value bits of a register cell, written as a periphery write does:
  // bits 0-3 replaced, the compare value and the rest kept.
  void storeValue(int32_t n, int32_t value) {
    RegisterCell& cell = registers_[n & 0x7F];
    cell.value = (cell.value & 0xFFF0) | (value & 15);
  }

  // Written by every periphery register write before the chip's handler
  // runs; a chip's reset clears or sets what its reset does to them. First,
  // so that the round's state below stays together with the chip's own.
  RegisterLatch latch_;
  // The records of the last call; registers_ is none after a run.
  CpuState* cpu_ = nullptr;
  ProgramCell* program_ = nullptr;
  RegisterCell* registers_ = nullptr;
  TraceEntry* trace_ = nullptr;
  int32_t stopFlags_ = 0;
  bool cpuReset_ = false;  // resetCpu() ran since the loop last loaded the counter
  platform::RunPump pump_;

 private:
  static constexpr int kIndexLow = 110;
  static constexpr int kIndexHigh = 111;
  int32_t mappedRead(int32_t n);
  [[gnu::noinline]] int32_t mappedReadTested(int32_t n);
  [[gnu::noinline, gnu::cold]] void testDataBreak(int32_t n, int32_t value, int32_t onAccess);
  void mappedWrite(int32_t n, int32_t value);
  [[gnu::noinline]] int32_t takeInterrupt(int32_t mode);
  // The entry itself: false (after the message) when the stack is full.
  bool pushInterrupt();
  [[gnu::noinline]] static void dispatchAll();
  [[gnu::noinline, gnu::cold]] bool stackError(int32_t level);
  void writeTraceEntry(int32_t pc);
  [[gnu::noinline]] void writeEveryTraceEntry(int32_t pc);
  void storeTraceEntry(int32_t index, int32_t pc);
  void traceFull();
  template <int kOp, bool kShift>
  int32_t alu(uint32_t low);
  int32_t call(uint32_t word, int32_t& pc);
};

}  // namespace simcore
