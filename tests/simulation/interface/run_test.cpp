// Runs through STDK42XX and the test chip module loaded by name: programs
// from code images, breakpoints, stepping, trace, interrupts, data
// breakpoints and breaks from pumped events.
#include <gtest/gtest.h>
#include <platform/messages.h>

#include <QTimer>

#include "encoding.h"
#include "target_client.h"
#include "test_chip.h"

using namespace k42test;
using testchip::TestChip;

namespace {

class Run : public ::testing::Test {
 protected:
  void SetUp() override {
    UseTestChip();
    ticks_ = reinterpret_cast<uint64_t (*)()>(ChipExport("TestChip_Ticks"));
    setPins_ = reinterpret_cast<void (*)(int32_t)>(ChipExport("TestChip_SetPins"));
    ASSERT_NE(ticks_, nullptr);
    setPins_(0);
    r[k42::kTraceLast] = 8191;
    ASSERT_EQ(r.reset(), 0);
  }
  void TearDown() override {
    platform::RunPump::SetScript({});
    Stdk::Get().UnloadInterface(0);
  }
  uint64_t ticks() { return ticks_(); }
  // Rounds run by the last execute.
  uint64_t roundsOf(int32_t mode, int32_t* result) {
    const uint64_t before = ticks();
    *result = r.execute(mode);
    return ticks() - before;
  }
  void enableInterrupt() { r.write(TestChip::kEnable, 8); }

  Records r;
  MessageLog log;
  uint64_t (*ticks_)() = nullptr;
  void (*setPins_)(int32_t) = nullptr;
};

// Main calls a subroutine that counts register 0x10 up in a JPNZ loop, copies
// it and jumps on; breakpoints at 0x003 and 0x031.
const std::vector<uint16_t> kCounting = {
    CALL(0x010), LDR(0x10), STA(0x11), JMP(0x030),
};
const std::vector<uint16_t> kCountingSub = {
    LDI(13), STA(0x12), INC(0x10), STA(0x10), INC(0x12), STA(0x12), JPNZ(0x012), RET,
};

}  // namespace

TEST_F(Run, BreakpointsStopBeforeTheInstructionAndARerunMovesOn) {
  r.load(kCounting);
  r.load(kCountingSub, 0x010);
  r.load({NOP, NOP}, 0x030);
  r.program[0x003].flags = k42::kCellBreakpoint;
  r.program[0x031].flags = k42::kCellBreakpoint;
  r[k42::kProgBreakEnable] = 1;
  int32_t result;
  EXPECT_EQ(roundsOf(k42::kRunModeRun, &result), 1u + 2 + 5 * 3 + 1 + 2);
  EXPECT_EQ(result, k42::kStopProgBreak);
  EXPECT_EQ(r.pc(), 0x003);
  EXPECT_EQ(r[k42::kProgBreakHit], 1);
  EXPECT_EQ(r[k42::kStackLevel], 0);
  EXPECT_EQ(r.reg(0x10), 3);
  EXPECT_EQ(r.reg(0x11), 3);
  r[k42::kProgBreakHit] = 0;
  EXPECT_EQ(roundsOf(k42::kRunModeRun, &result), 2u);
  EXPECT_EQ(result, k42::kStopProgBreak);
  EXPECT_EQ(r.pc(), 0x031);
  // With breakpoints disabled the same cells are not tested.
  r[k42::kProgBreakEnable] = 0;
  r[k42::kProgBreakHit] = 0;
  r.load({HALT}, 0x032);
  EXPECT_EQ(roundsOf(k42::kRunModeStep, &result), 1u);
  EXPECT_EQ(roundsOf(k42::kRunModeStep, &result), 1u);
  EXPECT_EQ(r[k42::kProgBreakHit], 0);
  EXPECT_EQ(r[k42::kHalted], 1);
}

TEST_F(Run, StepModeRunsOneRound) {
  r.load({LDI(5), LDI(6), LDI(7)});
  int32_t result;
  EXPECT_EQ(roundsOf(k42::kRunModeStep, &result), 1u);
  EXPECT_EQ(result, k42::kStopStep);
  EXPECT_EQ(r[k42::kAcc], 5);
  // A breakpoint at the next address adds bit 0 and word 17.
  r.program[2].flags = k42::kCellBreakpoint;
  r[k42::kProgBreakEnable] = 1;
  EXPECT_EQ(roundsOf(k42::kRunModeStep, &result), 1u);
  EXPECT_EQ(result, k42::kStopStep | k42::kStopProgBreak);
  EXPECT_EQ(r[k42::kProgBreakHit], 1);
  EXPECT_EQ(r[k42::kAcc], 6);

  // An interrupt pending: no instruction, PC 1 at the next level.
  enableInterrupt();
  r.write(TestChip::kPeriod, 1);  // a request every tick
  EXPECT_EQ(roundsOf(k42::kRunModeStep, &result), 1u);
  EXPECT_EQ(result, k42::kStopStep);
  EXPECT_EQ(r[k42::kStackLevel], 1);
  EXPECT_EQ(r.pc(), 1);
  EXPECT_EQ(r[k42::kInInterrupt], 1);
  EXPECT_EQ(r[k42::kAcc], 6);
  EXPECT_EQ(r[k42::kPcStack], 2) << "the interrupted program counter is kept";

  // A halted CPU: one tick, nothing executed.
  ASSERT_EQ(r.reset(), 0);
  r[k42::kHalted] = 1;
  EXPECT_EQ(roundsOf(k42::kRunModeStep, &result), 1u);
  EXPECT_EQ(result, k42::kStopStep);
  EXPECT_EQ(r.pc(), 0);
}

TEST_F(Run, ResetClearsTheCpuWordsOnly) {
  for (int w = 0; w < k42::kCpuWords; ++w) r[w] = 1;
  ASSERT_EQ(r.reset(), 0);
  for (int w = 0; w <= k42::kHalted; ++w) EXPECT_EQ(r[w], 0) << w;
  for (int w = 11; w < k42::kCpuWords; ++w) EXPECT_EQ(r[w], 1) << w;
}

TEST_F(Run, TraceOneTimeAndWrapModes) {
  r.load({LDI(1), LDI(2), LDI(3), LDI(4), LDI(5), LDI(6), LDI(7), JMP(0)});
  for (int a = 0; a < 8; ++a) r.program[a].flags = k42::kCellTracePoint;
  r[k42::kTraceEnable] = 1;
  r[k42::kTraceLast] = 3;
  r[k42::kCarry] = 1;
  int32_t result;
  // One-time mode: the fourth entry fills the buffer; its instruction still runs.
  EXPECT_EQ(roundsOf(k42::kRunModeRun, &result), 4u);
  EXPECT_EQ(result, k42::kStopTraceFull);
  EXPECT_EQ(r[k42::kTraceFull], 1);
  EXPECT_EQ(r[k42::kTraceStopped], 1);
  EXPECT_EQ(r[k42::kAcc], 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(r.trace[i].pc, i);
    EXPECT_EQ(r.trace[i].acc, i);
  }
  EXPECT_EQ(r.trace[0].flags, k42::kTraceCarry);
  EXPECT_EQ(r.trace[1].flags, 0) << "LDI cleared the carry";
  EXPECT_EQ(r.trace[4].pc, -1);

  // Wrap mode: never full; the index goes round.
  ASSERT_EQ(r.reset(), 0);
  r[k42::kTraceStopped] = 0;
  r[k42::kTraceFull] = 0;
  r[k42::kTraceIndex] = 0;
  r[k42::kTraceWrap] = 1;
  r.program[6].flags |= k42::kCellBreakpoint;
  r[k42::kProgBreakEnable] = 1;
  EXPECT_EQ(roundsOf(k42::kRunModeRun, &result), 6u);
  EXPECT_EQ(result, k42::kStopProgBreak);
  EXPECT_EQ(r[k42::kTraceIndex], 2);
  EXPECT_EQ(r.trace[0].pc, 4);
  EXPECT_EQ(r.trace[1].pc, 5);
  EXPECT_EQ(r.trace[2].pc, 2);
  EXPECT_EQ(r[k42::kTraceFull], 0);
}

TEST_F(Run, TraceIndexOutsideTheBufferIsItsEnd) {
  r.load({LDI(1), LDI(2)});
  r.program[0].flags = r.program[1].flags = k42::kCellTracePoint;
  r[k42::kTraceEnable] = 1;
  r[k42::kTraceLast] = 100;
  r[k42::kTraceIndex] = 9000;
  r[k42::kTraceWrap] = 1;
  EXPECT_EQ(r.execute(k42::kRunModeStep), k42::kStopStep);
  EXPECT_EQ(r.trace[0].pc, 0) << "wrap mode starts over at 0";
  EXPECT_EQ(r[k42::kTraceIndex], 1);
  r[k42::kTraceIndex] = -5;
  r[k42::kTraceWrap] = 0;
  EXPECT_EQ(r.execute(k42::kRunModeStep), k42::kStopStep | k42::kStopTraceFull);
  EXPECT_EQ(r[k42::kTraceFull], 1);
  EXPECT_EQ(r.trace[1].pc, -1) << "nothing written in one-time mode";
  // A last index beyond the buffer is cut to the buffer.
  ASSERT_EQ(r.reset(), 0);
  r[k42::kTraceStopped] = 0;
  r[k42::kTraceLast] = 100000;
  r[k42::kTraceIndex] = 8191;
  r[k42::kTraceWrap] = 1;
  EXPECT_EQ(r.execute(k42::kRunModeStep), k42::kStopStep);
  EXPECT_EQ(r.trace[8191].pc, 0);
  EXPECT_EQ(r[k42::kTraceIndex], 0);
}

TEST_F(Run, InterruptEntryAndReturn) {
  // Interrupt routine at 1: read the request, keep it, RTI. Main halts at 0x40.
  r.load({JMP(0x40), LDR(TestChip::kRequest), STA(0x20), RTI});
  r.load({HALT, JMP(0x41)}, 0x40);
  enableInterrupt();
  r[k42::kTraceEnable] = 1;
  r.program[2].flags = k42::kCellTracePoint;
  r[k42::kCarry] = 1;
  r[k42::kCarryInt] = 0;
  int32_t result;
  EXPECT_EQ(roundsOf(k42::kRunModeStep, &result), 1u);
  EXPECT_EQ(roundsOf(k42::kRunModeStep, &result), 1u);
  EXPECT_EQ(r[k42::kHalted], 1);
  EXPECT_EQ(roundsOf(k42::kRunModeStep, &result), 1u);
  EXPECT_EQ(r.pc(), 0x41) << "halted: nothing executes";
  // A pin change raises request bit 0 at the start of the next run; the
  // entry and the routine's first instruction share a round.
  setPins_(5);
  r.program[0x41].flags = k42::kCellBreakpoint;
  r[k42::kProgBreakEnable] = 1;
  EXPECT_EQ(roundsOf(k42::kRunModeRun, &result), 3u);
  EXPECT_EQ(result, k42::kStopProgBreak);
  EXPECT_EQ(r.reg(TestChip::kPort), 5);
  EXPECT_EQ(r.reg(0x20), 1);
  EXPECT_EQ(r.reg(TestChip::kRequest), 0);
  EXPECT_EQ(r[k42::kInInterrupt], 0);
  EXPECT_EQ(r[k42::kStackLevel], 0);
  EXPECT_EQ(r[k42::kHalted], 0);
  EXPECT_EQ(r.pc(), 0x41) << "back after the HALT";
  // The trace entry in the routine records the normal carry, not word 7.
  EXPECT_EQ(r.trace[0].pc, 2);
  EXPECT_EQ(r.trace[0].flags, k42::kTraceCarry);
}

TEST_F(Run, BreakpointOnTheVectorEndsTheRunWithTheRunMode) {
  r.load({JMP(0)});
  enableInterrupt();
  r.write(TestChip::kPeriod, 3);
  r.program[1].flags = k42::kCellBreakpoint;
  r[k42::kProgBreakEnable] = 1;
  int32_t result;
  EXPECT_EQ(roundsOf(k42::kRunModeRun, &result), 3u);
  EXPECT_EQ(result, k42::kRunModeRun) << "as the run mode, without bit 0";
  EXPECT_EQ(r[k42::kProgBreakHit], 1);
  EXPECT_EQ(r.pc(), 1);
}

TEST_F(Run, InterruptWithAFullStackStopsWithTheMessage) {
  r.load({CALL(0x10)});
  r.load({CALL(0x20)}, 0x10);
  r.load({JMP(0x20)}, 0x20);
  EXPECT_EQ(r.execute(k42::kRunModeStep), k42::kStopStep);
  EXPECT_EQ(r.execute(k42::kRunModeStep), k42::kStopStep);
  ASSERT_EQ(r[k42::kStackLevel], 2);
  enableInterrupt();
  r.write(TestChip::kPeriod, 1);
  CpuState before = r.cpu;
  EXPECT_EQ(r.execute(k42::kRunModeRun), -1);
  EXPECT_EQ(0, std::memcmp(&before, &r.cpu, sizeof before));
  ASSERT_EQ(log.boxes().size(), 1u);
  EXPECT_EQ(log.boxes()[0].text, "Stack Overflow\nInterrupt generated and stack full");
  EXPECT_EQ(log.boxes()[0].title, "VICE ERROR");
  EXPECT_EQ(r[k42::kDataBreakHit], 0) << "an error is no data breakpoint";
}

TEST_F(Run, StackLevelOutsideItsRangeEndsTheRunBeforeAnyInstruction) {
  r.load({LDI(3)});
  int32_t result;
  r[k42::kStackLevel] = 3;
  EXPECT_EQ(roundsOf(k42::kRunModeRun, &result), 0u);
  EXPECT_EQ(result, -1);
  r[k42::kStackLevel] = -1;
  EXPECT_EQ(roundsOf(k42::kRunModeStep, &result), 0u);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(r[k42::kAcc], 0);
  EXPECT_EQ(log.texts(), (std::vector<std::string>{"Stack Overflow\nCALL instruction and stack full",
                                                   "Stack Underflow\nRET without Corresponding CALL"}));
}

TEST_F(Run, ProgramCounterWrapsAtTheEndOfProgramMemory) {
  r.load({LDI(9)}, 0xFFF);
  r.load({JMP(0xFFF)}, 0);
  r[k42::kPcStack] = 0xFFF;
  EXPECT_EQ(r.execute(k42::kRunModeStep), k42::kStopStep);
  EXPECT_EQ(r.pc(), 0);
  r[k42::kPcStack] = 0x7FFFF;  // as a file might leave it
  EXPECT_EQ(r.execute(k42::kRunModeStep), k42::kStopStep);
  EXPECT_EQ(r[k42::kAcc], 9);
  EXPECT_EQ(r.pc(), 0);
}

TEST_F(Run, DataBreakpointStopsAfterTheStoreAndSetsWord18AtTheEnd) {
  r.load({LDI(4), STA(0x30), LDI(7), JMP(2)});
  r.program[1].flags = k42::kCellTracePoint;
  r[k42::kTraceEnable] = 1;
  r.registers[0x30].value = 4;  // the store does not change it
  r.registers[0x30].flags = 7 | k42::kBreakOnWrite;
  r[k42::kDataBreakEnable] = 1;
  int32_t result;
  EXPECT_EQ(roundsOf(k42::kRunModeRun, &result), 2u);
  EXPECT_EQ(result, k42::kStopDataBreak);
  EXPECT_EQ(r[k42::kDataBreakHit], 1);
  EXPECT_EQ(r.pc(), 2);
  EXPECT_EQ(r.trace[0].flags & k42::kTraceDataBreak, 0);
  // Armed for reads only, a store never stops.
  ASSERT_EQ(r.reset(), 0);
  r[k42::kDataBreakHit] = 0;
  r.registers[0x30].flags = 7 | k42::kBreakOnRead;
  r.program[3].flags = k42::kCellBreakpoint;
  r[k42::kProgBreakEnable] = 1;
  EXPECT_EQ(r.execute(k42::kRunModeRun), k42::kStopProgBreak);
  EXPECT_EQ(r[k42::kDataBreakHit], 0);
  // A monitor write matching outside a run: the next run's mode replaces it.
  r.registers[0x30].flags = 7 | k42::kBreakOnWrite;
  EXPECT_EQ(r.write(0x30, 1), 1);
  EXPECT_EQ(r.reg(0x30), 1);
  r[k42::kPcStack] = 2;
  r[k42::kProgBreakHit] = 0;
  r.program[3].flags = 0;
  EXPECT_EQ(r.execute(k42::kRunModeStep), k42::kStopStep);
  EXPECT_EQ(r[k42::kDataBreakHit], 0);
}

TEST_F(Run, BreakFromAScriptedPumpEndsTheRunAfterThatRound) {
  r.load({INC(0x10), STA(0x10), JMP(0)});
  Stdk::Get().Instruction_Break(k42::kStopStep);  // before the run: no effect
  platform::RunPump::SetScriptAtRound(1000, [] { Stdk::Get().Instruction_Break(k42::kStopStep); });
  int32_t result;
  EXPECT_EQ(roundsOf(k42::kRunModeRun, &result), 1001u);
  EXPECT_EQ(result, k42::kStopStep);
  EXPECT_EQ(r.pc(), 1001 % 3);
}

TEST_F(Run, PumpedEventsSeeTheCurrentCounterAndWhatTheyWriteThereStands) {
  r.load({INC(0x10), STA(0x10), JMP(0)});
  int32_t seen = -1;
  platform::RunPump::SetScriptAtRound(1000, [&] {
    seen = r.pc();
    r[k42::kPcStack] = 1;  // an event restarts the program elsewhere
    Stdk::Get().Instruction_Break(k42::kStopStep);
  });
  int32_t result;
  EXPECT_EQ(roundsOf(k42::kRunModeRun, &result), 1001u);
  EXPECT_EQ(seen, 1000 % 3);
  // The round after the event executed from address 1.
  EXPECT_EQ(r.pc(), 2);
}

TEST_F(Run, HaltedCpuSpinsUntilAStopArrivesThroughTheEventLoop) {
  r.load({HALT});
  bool fired = false;
  QTimer::singleShot(20, [&] {
    fired = true;
    Stdk::Get().Instruction_Break(k42::kStopStep);
  });
  int32_t result;
  EXPECT_GT(roundsOf(k42::kRunModeRun, &result), 1u);
  EXPECT_TRUE(fired);
  EXPECT_EQ(result, k42::kStopStep);
  EXPECT_EQ(r[k42::kHalted], 1);
}

TEST_F(Run, ViceErrorOfTheModuleReachesTheProgramsHook) {
  r.load({RET});
  EXPECT_EQ(r.execute(k42::kRunModeRun), -1);
  ASSERT_EQ(log.boxes().size(), 1u);
  EXPECT_EQ(log.boxes()[0].text, "Stack Underflow\nRET without Corresponding CALL");
  EXPECT_EQ(log.boxes()[0].title, "VICE ERROR");
  EXPECT_EQ(log.boxes()[0].style, 0u);
}
