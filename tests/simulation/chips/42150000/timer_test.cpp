// The 10-bit timer: sources, compare request, full compare with PWM stopping
// the timer and driving PB3, and the refusal of the run bit.
#include "qv4115_client.h"

namespace qv4115test {
namespace {

using Timer = Qv4115;

TEST_F(Timer, CompareRequestOnTheFifthTickFromTheFastSource) {
  write(93, 8 | 1);  // count up from 16384 Hz
  write(95, 5);
  write(96, 0);
  write(97, 0);
  write(103, 1);
  EXPECT_EQ(r.reg(95), 15);  // the reset value until the first step
  write(94, 8 | 2);  // run, compare enable
  step(4);
  EXPECT_EQ(r.reg(106), 0);
  EXPECT_EQ(r.reg(95), 4);
  step(1);
  EXPECT_EQ(r.reg(106), 1);
  EXPECT_EQ(r.reg(95), 5);
  EXPECT_EQ(r.reg(94), 10);
}

TEST_F(Timer, SlowerSourcesAndTheEndRequest) {
  write(93, 2);      // count down from 2048 Hz
  write(103, 2);     // end request
  write(95, 1);
  write(94, 1 | 8);  // load 1, run
  EXPECT_EQ(r.reg(95), 1);
  step(7);
  EXPECT_EQ(r.reg(95), 1);
  step(1);           // the 2048 Hz stage: counter 0 = end value
  EXPECT_EQ(r.reg(95), 0);
  EXPECT_EQ(r.reg(106), 2);
}

TEST_F(Timer, FullCompareWithPwmStopsTheTimerAndDrivesPb3) {
  write(81, 8);      // PB3 output
  write(107, 2);     // full compare
  write(113, 8);     // PWM on PB3
  write(103, 1);
  write(93, 1);      // down from 16384 Hz
  write(95, 0);
  write(96, 3);      // latch 0x30
  write(94, 1 | 2);  // load: counter = latch
  write(94, 8 | 2);  // refused: PWM, full compare and counter = latch
  EXPECT_EQ(r.reg(94), 2);
  write(96, 2);      // latch 0x20
  write(94, 8 | 2);
  EXPECT_EQ(r.reg(94), 10);
  step(15);
  EXPECT_EQ(r.reg(106), 0);
  EXPECT_EQ(r.reg(94), 10);
  step(1);           // counter 0x20 = latch: request, stop, PWM level 1 counting down
  EXPECT_EQ(r.reg(106), 1);
  EXPECT_EQ(r.reg(94), 2);
  EXPECT_EQ(r.reg(96), 2);
  step(3);
  EXPECT_EQ(r.reg(96), 2);   // stopped
  EXPECT_EQ(r.reg(82), 8);   // PB3 high, sampled at the run's start
}

TEST_F(Timer, MaskedCompareByWidth) {
  write(93, 8 | 1);
  write(97, 4 | 1);  // width 8 bits, latch bit 8 set: latch 0x105
  write(95, 5);
  write(96, 0);
  write(103, 1);
  write(94, 8 | 2);
  step(5);           // counter 5 equals the latch on 8 bits
  EXPECT_EQ(r.reg(106), 1);
}

}  // namespace
}  // namespace qv4115test
