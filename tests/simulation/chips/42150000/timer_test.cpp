// The 10-bit timer: sources, compare request, full compare with PWM stopping
// the timer and driving PB3, and the refusal of the run bit.
#include "qv4115_client.h"

namespace qv4115test {
namespace {

using Timer = Qv4115;

TEST_F(Timer, CompareRequestOnTheFifthTickFromTheFastSource) {
  write(L.timer.control.reg, 8 | 1);  // count up from 16384 Hz
  write(L.timer.low.reg, 5);
  write(L.timer.middle.reg, 0);
  write(L.timer.high.reg, 0);
  write(L.irq.timerEnables.reg, 1);
  EXPECT_EQ(r.reg(L.timer.low.reg), 15);  // the reset value until the first step
  write(L.timer.run.reg, 8 | 2);          // run, compare enable
  step(4);
  EXPECT_EQ(r.reg(L.irq.timerRequests.reg), 0);
  EXPECT_EQ(r.reg(L.timer.low.reg), 4);
  step(1);
  EXPECT_EQ(r.reg(L.irq.timerRequests.reg), 1);
  EXPECT_EQ(r.reg(L.timer.low.reg), 5);
  EXPECT_EQ(r.reg(L.timer.run.reg), 10);
}

TEST_F(Timer, SlowerSourcesAndTheEndRequest) {
  write(L.timer.control.reg, 2);     // count down from 2048 Hz
  write(L.irq.timerEnables.reg, 2);  // end request
  write(L.timer.low.reg, 1);
  write(L.timer.run.reg, 1 | 8);  // load 1, run
  EXPECT_EQ(r.reg(L.timer.low.reg), 1);
  step(7);
  EXPECT_EQ(r.reg(L.timer.low.reg), 1);
  step(1);           // the 2048 Hz stage: counter 0 = end value
  EXPECT_EQ(r.reg(L.timer.low.reg), 0);
  EXPECT_EQ(r.reg(L.irq.timerRequests.reg), 2);
}

TEST_F(Timer, FullCompareWithPwmStopsTheTimerAndDrivesPb3) {
  write(L.portB.direction.reg, 8);    // PB3 output
  write(L.irq.control.reg, 2);        // full compare
  write(L.prescaler.control.reg, 8);  // PWM on PB3
  write(L.irq.timerEnables.reg, 1);
  write(L.timer.control.reg, 1);  // down from 16384 Hz
  write(L.timer.low.reg, 0);
  write(L.timer.middle.reg, 3);   // latch 0x30
  write(L.timer.run.reg, 1 | 2);  // load: counter = latch
  write(L.timer.run.reg, 8 | 2);  // refused: PWM, full compare and counter = latch
  EXPECT_EQ(r.reg(L.timer.run.reg), 2);
  write(L.timer.middle.reg, 2);  // latch 0x20
  write(L.timer.run.reg, 8 | 2);
  EXPECT_EQ(r.reg(L.timer.run.reg), 10);
  step(15);
  EXPECT_EQ(r.reg(L.irq.timerRequests.reg), 0);
  EXPECT_EQ(r.reg(L.timer.run.reg), 10);
  step(1);           // counter 0x20 = latch: request, stop, PWM level 1 counting down
  EXPECT_EQ(r.reg(L.irq.timerRequests.reg), 1);
  EXPECT_EQ(r.reg(L.timer.run.reg), 2);
  EXPECT_EQ(r.reg(L.timer.middle.reg), 2);
  step(3);
  EXPECT_EQ(r.reg(L.timer.middle.reg), 2);  // stopped
  EXPECT_EQ(r.reg(L.portB.data.reg), 8);    // PB3 high, sampled at the run's start
}

TEST_F(Timer, MaskedCompareByWidth) {
  write(L.timer.control.reg, 8 | 1);
  write(L.timer.high.reg, 4 | 1);  // width 8 bits, latch bit 8 set: latch 0x105
  write(L.timer.low.reg, 5);
  write(L.timer.middle.reg, 0);
  write(L.irq.timerEnables.reg, 1);
  write(L.timer.run.reg, 8 | 2);
  step(5);           // counter 5 equals the latch on 8 bits
  EXPECT_EQ(r.reg(L.irq.timerRequests.reg), 1);
}

}  // namespace
}  // namespace qv4115test
