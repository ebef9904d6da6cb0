// Sleep: a sleeping pass runs no tick and no instruction, clears register
// 122 bit 0 and counts the wake-up down; the pass that reaches 0 resets the
// chip. Without the wake-up a sleeping run still ends on a Break or a step.
#include <platform/messages.h>

#include "qv4131_client.h"

namespace qv4131test {
namespace {

using Sleep = Qv4131;

// 0: wake-up after 48000 passes  2: both sleep bits  5: loop
const std::vector<uint16_t> kSleeper = {
    LDI(9), STA(kWakeUp), LDI(4), STA(kInterruptControl), STA(kWatchdogSleep), JMP(5)};

TEST_F(Sleep, WakeUpResetsInThePassThatCountsToZero) {
  program(kSleeper);
  write(50, 15);
  write(kClockAdjustLow, 9);
  write(kTimerControl, 8 | 1);  // up at every tick from 0x3FF
  write(kTimerRun, 8);
  step(5);  // asleep from the next pass
  EXPECT_EQ(r.reg(kTimerLow), 4);
  step(47999);
  EXPECT_EQ(r.reg(50), 15);
  EXPECT_EQ(r.pc(), 5);
  EXPECT_EQ(r.reg(kTimerLow), 4);        // no tick while asleep
  EXPECT_EQ(r.reg(kClockAdjustLow), 8);  // bit 0 cleared
  step(1);
  EXPECT_EQ(r.reg(50), 0);
  EXPECT_EQ(r.pc(), 0);  // no instruction in that pass
  EXPECT_EQ(r.reg(kInterruptControl), 0);
  EXPECT_EQ(r.reg(kWatchdogSleep), 4);  // bit 2 kept by the reset
  step(1);
  EXPECT_EQ(r.pc(), 1);  // awake
}

TEST_F(Sleep, WithoutTheWakeUpARunEndsOnABreakOrAStep) {
  program(kSleeper);
  write(50, 15);
  step(5);
  write(kWakeUp, 1);  // a count, not enabled
  platform::RunPump::SetScriptAtRound(10, [] { Stdk::Get().Instruction_Break(k42::kStopStep); });
  EXPECT_EQ(r.execute(k42::kRunModeRun), k42::kStopStep);
  platform::RunPump::SetScript(nullptr);
  EXPECT_EQ(r.execute(k42::kRunModeStep), k42::kStopStep);
  write(kWakeUp, 8);  // enabled with a count of 0: never wakes
  EXPECT_EQ(runRounds(100000), k42::kStopStep);
  EXPECT_EQ(r.reg(50), 15);
  EXPECT_EQ(r.pc(), 5);
}

}  // namespace
}  // namespace qv4131test
