// QV4112: the up-counting timer at 255, the chip's own interrupt entry, its
// trace of every instruction, the watchdog at the eighth 2 Hz step and the
// power-on register values.

#include <utility>

#include "qv4112_test.h"

namespace qv4112test {
namespace {

using Timer = Qv4112;

TEST_F(Timer, RequestsAt255ReloadingOrWrappingOn) {
  write(kInterruptControl, 1);
  write(kRequests, 1);      // timer request enabled
  write(kTimerControl, 8);  // 256 Hz, autoreload
  write(kTimerHigh, 0xF);
  write(kTimerLow, 0xE);  // reload 0xFE, started
  EXPECT_EQ(r.reg(kTimerControl), 8 | 4);
  step(k256Hz - 1);
  EXPECT_EQ(r.reg(kRequests), 1);
  step(1);  // 255: request, reloaded
  EXPECT_EQ(r.reg(kRequests), 1 | 2);
  EXPECT_EQ(r.reg(kTimerLow), 0xE);
  EXPECT_EQ(r.reg(kTimerHigh), 0xF);
  write(kTimerControl, 4);  // running, no autoreload
  write(kRequests, 1 | 2);  // a 1 clears the request
  EXPECT_EQ(r.reg(kRequests), 1);
  step(k256Hz);
  EXPECT_EQ(r.reg(kRequests), 1 | 2);
  EXPECT_EQ(read(kRequests), 1 | 2);  // read, then cleared
  EXPECT_EQ(r.reg(kRequests), 1);
  runRounds(k256Hz - 2);  // 255 wraps to 0
  EXPECT_EQ(r.reg(kTimerLow), 0);
  EXPECT_EQ(r.reg(kTimerHigh), 0);
  runRounds(254 * k256Hz);
  EXPECT_EQ(r.reg(kRequests), 1);
  runRounds(k256Hz);  // 256 counts after the last request
  EXPECT_EQ(r.reg(kRequests), 1 | 2);
  // 15 with a reload high nibble of 15 stops it and its autoreload.
  write(kTimerControl, 8 | 4);
  write(kTimerLow, 0xF);
  EXPECT_EQ(r.reg(kTimerControl), 0);
  runRounds(k256Hz);
  EXPECT_EQ(r.reg(kTimerLow), 0xF);
}

using Interrupts = Qv4112;

// The entry neither stops a single step nor tests a breakpoint at the
// vector: one step enters and executes the vector's first instruction.
TEST_F(Interrupts, EntryRunsTheVectorsFirstInstruction) {
  program({JMP(0), LDI(7), JMP(2)});
  write(kInterruptControl, 1);
  r.registers[kPortARequests].value |= 2;  // a PA1 request, as sampled
  r.program[1].flags = k42::kCellBreakpoint;
  r[k42::kProgBreakEnable] = 1;
  EXPECT_EQ(r.execute(k42::kRunModeStep), k42::kStopStep);
  EXPECT_EQ(r[k42::kStackLevel], 1);
  EXPECT_EQ(r[k42::kAcc], 7);
  EXPECT_EQ(r.pc(), 2);
  // At stack level 2 the entry refuses with the stack-full message.
  program({CALL(10), NOP, NOP, NOP, NOP, NOP, NOP, NOP, NOP, NOP, CALL(20)});
  write(kInterruptControl, 1);
  step(2);
  ASSERT_EQ(r[k42::kStackLevel], 2);
  r.registers[kRequests].value |= 8;
  MessageLog log;
  EXPECT_EQ(r.execute(k42::kRunModeStep), k42::kStopError);
  EXPECT_EQ(log.texts(),
            std::vector<std::string>{"Stack Overflow\nInterrupt generated and stack full"});
  EXPECT_EQ(r[k42::kStackLevel], 2);
}

class Trace : public Qv4112 {
 protected:
  void SetUp() override {
    Qv4112::SetUp();
    program({LDI(1), LDI(2), LDI(3), LDI(4), JMP(0)});
    r[k42::kTraceEnable] = 1;
    r[k42::kTraceLast] = 3;
  }
};

// Every instruction, without trace points; one-time mode stops with 4 when
// the index passes word 28, and the index restarts at 0.
TEST_F(Trace, OneTimeModeRecordsEveryInstructionAndStops) {
  EXPECT_EQ(r.execute(k42::kRunModeRun), k42::kStopTraceFull);
  EXPECT_EQ(r[k42::kTraceFull], 1);
  EXPECT_EQ(r[k42::kTraceStopped], 1);
  EXPECT_EQ(r[k42::kTraceIndex], 0);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(r.trace[i].pc, i);
    EXPECT_EQ(r.trace[i].acc, i);
  }
  EXPECT_EQ(r.trace[4].pc, -1);
}

TEST_F(Trace, WrapModeGoesOnAndTheIndexStaysInTheBuffer) {
  r[k42::kTraceWrap] = 1;
  EXPECT_EQ(runRounds(6), k42::kStopStep);
  EXPECT_EQ(r[k42::kTraceIndex], 2);
  EXPECT_EQ(r[k42::kTraceStopped], 1);
  EXPECT_EQ(r[k42::kTraceFull], 0);
  EXPECT_EQ(r.trace[0].pc, 4);  // the JMP, over the first entry
  // An index the monitor set past word 28 restarts at 0.
  r[k42::kTraceIndex] = 100;
  step(1);
  EXPECT_EQ(r.trace[100].pc, -1);
  EXPECT_EQ(r[k42::kTraceIndex], 1);
  // With word 28 below 0 nothing is written.
  r[k42::kTraceLast] = -1;
  r.trace[1].pc = -1;
  step(1);
  EXPECT_EQ(r.trace[1].pc, -1);
}

using Detector = Qv4112;

// A request (bit 0) makes 108 read 5 until the 2048 Hz step after the next
// 256 Hz step, which leaves 8 for a supply below 1.26 V, else 0. The supply
// is 5.00 V from the module's load, window or not.
TEST_F(Detector, RequestMeasuresAtTheNextStepsAndReadsClearIdleBits) {
  write(kLevelDetector, 8 | 2 | 1);
  EXPECT_EQ(r.reg(kLevelDetector), 5);
  step(k256Hz + 7);
  EXPECT_EQ(r.reg(kLevelDetector), 5);
  step(1);
  EXPECT_EQ(r.reg(kLevelDetector), 0);
  write(kLevelDetector, 2);  // bit 0 clear: stored as written
  EXPECT_EQ(r.reg(kLevelDetector), 2);
  EXPECT_EQ(read(kLevelDetector), 2);
  EXPECT_EQ(r.reg(kLevelDetector), 0);  // bits 0 and 2 were clear: bits 0-1 cleared
}

using Resets = Qv4112;

// The reset posts every box in its order; the power-on adds three port B
// redraws after its register writes.
TEST_F(Resets, RedrawOrder) {
  Redraws posted;
  RecordRedraws(&posted);
  r.reset();
  RecordRedraws(nullptr);
  const std::vector<std::pair<int, intptr_t>> expected = {
      {0, 1035}, {1, 0}, {2, 1040}, {3, 255}, {4, 255}, {5, 255}, {6, 255}, {1, 0}, {1, 0}, {1, 0}};
  EXPECT_EQ(posted, expected);
}

TEST_F(Resets, PowerOnValuesKeepCompareNibbles) {
  for (int n = 0; n < 127; ++n) r.registers[n].value = 0x29;
  r.registers[kPortA].flags = 0x12;
  r.reset();
  for (int n = 0; n < 127; ++n) {
    const int expected = n == kTimerLow || n == kTimerHigh || n == kPortB ? 15
                         : n == kPortA                                    ? 14
                                                                          : 0;
    EXPECT_EQ(r.registers[n].value, 0x20 | expected) << n;
  }
  EXPECT_EQ(r.registers[kPortA].flags, 0x12);
}

TEST_F(Qv4112, AnAssembledSourceRunsInTheModule) { runWholeRoad(kPortAEnables, 5); }

}  // namespace
}  // namespace qv4112test
