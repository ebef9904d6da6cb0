// The serial write buffer: the hold of the run loop on selection 3, the
// manual transfer ending without new data, the automatic transfer while
// halted, and a break during a hold pass.
#include <platform/messages.h>

#include "qv4115_client.h"

namespace qv4115test {
namespace {

using Swb = Qv4115;

// 0: clock selection 3  2: data A  4: start  6: loop writing data
const std::vector<uint16_t> kFeedingLoop = {LDI(3),
                                            STA(L.swb.clock.reg),
                                            LDI(0xA),
                                            STA(L.swb.data.reg),
                                            LDI(4),
                                            STA(L.swb.control.reg),
                                            STA(L.swb.data.reg),
                                            JMP(6)};

TEST_F(Swb, SelectionThreeHoldsEverySecondPass) {
  program(kFeedingLoop);
  step(6);
  ASSERT_EQ(r.pc(), 6);
  int executed = 0;
  for (int i = 0; i < 100; ++i) {
    const int pc = r.pc();
    step(1);
    executed += r.pc() != pc;
  }
  EXPECT_EQ(executed, 50);
  EXPECT_EQ(r.reg(L.swb.control.reg), 4);
}

TEST_F(Swb, ManualTransferStopsAfterTheLastNibbleWithoutNewData) {
  // 6: wait ready  8: data B  10: wait ready  12: data C  14: loop
  program({LDI(3), STA(L.swb.clock.reg), LDI(0xA), STA(L.swb.data.reg), LDI(4),
           STA(L.swb.control.reg), JPV3(8), JMP(6), LDI(0xB), STA(L.swb.data.reg), JPV3(12),
           JMP(10), LDI(0xC), STA(L.swb.data.reg), JMP(14)});
  step(6);
  ASSERT_EQ(r.reg(L.swb.control.reg), 4);
  int passes = 0;
  while (r.reg(L.swb.control.reg) != 0 && passes < 200) {
    step(1);
    ++passes;
  }
  EXPECT_EQ(r.reg(L.swb.control.reg), 0);
  EXPECT_EQ(r.pc(), 14);
  // Three nibbles of four bits, two passes each; the last falling edge stops it.
  EXPECT_EQ(passes, 3 * 8);
  EXPECT_EQ(r[k42::kCond3], 1);  // ready since the last nibble was taken
}

TEST_F(Swb, AutomaticTransferWhileHaltedEndsTheHalt) {
  // size 2, first nibble 5, automatic, HALT
  program({LDI(2), STA(L.swb.sizeLow.reg), LDI(5), STA(L.swb.data.reg), LDI(8),
           STA(L.swb.control.reg), HALT, JMP(7)});
  for (int n = 0; n < 4; ++n) write(n, n + 1);
  step(7);
  ASSERT_EQ(r[k42::kHalted], 1);
  EXPECT_EQ(r.reg(L.irq.control.reg), 8);  // HALT enables interrupts
  EXPECT_EQ(r[k42::kCond3], 0);
  // Nibbles 5, RAM 0, 1, 2: four of eight half steps.
  step(31);
  EXPECT_EQ(r[k42::kHalted], 1);
  EXPECT_EQ(r.reg(L.swb.data.reg), 3);  // RAM 2 loaded
  step(1);
  EXPECT_EQ(r[k42::kHalted], 0);
  EXPECT_EQ(r[k42::kCond3], 1);
  EXPECT_EQ(r.reg(L.swb.control.reg), 0);
  EXPECT_EQ(r.pc(), 7);
  step(1);
  EXPECT_EQ(r.pc(), 7);  // JMP 7 executed
}

TEST_F(Swb, ReadyFlagEndsTheHaltAtOnce) {
  // A manual transfer makes the buffer ready; a HALT then does not stay.
  program({LDI(3), STA(L.swb.clock.reg), LDI(4), STA(L.swb.control.reg), JPV3(6), JMP(4), HALT,
           JMP(7)});
  int passes = 0;
  while (r.pc() != 7 && passes < 50) {
    step(1);
    ++passes;
    ASSERT_EQ(r[k42::kHalted], 0);
  }
  EXPECT_EQ(r.pc(), 7);
  EXPECT_EQ(r.reg(L.irq.control.reg), 8);
}

TEST_F(Swb, BreakDuringAHoldPassEndsTheRun) {
  program(kFeedingLoop);
  // Passes 0-5 execute 0-5; pass 6 STA 86, 7 hold, 8 JMP 6, 9 hold.
  platform::RunPump::SetScriptAtRound(9, [] { Stdk::Get().Instruction_Break(16); });
  EXPECT_EQ(r.execute(k42::kRunModeRun), 16);
  platform::RunPump::SetScript(nullptr);
  EXPECT_EQ(r.pc(), 6);
}

}  // namespace
}  // namespace qv4115test
