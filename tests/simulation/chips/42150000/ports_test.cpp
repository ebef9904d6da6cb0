// Ports without clicks: the reset combination, direction and latch rules of
// ports B and C, and the clock outputs. (Pin clicks: the window tests.)
#include "qv4115_client.h"

namespace qv4115test {
namespace {

using Ports = Qv4115;

TEST_F(Ports, ResetCombinationOfLowPinsResetsAtTheNextSampling) {
  write(50, 9);
  write(124, 15);
  write(125, 0);
  EXPECT_EQ(r.reg(50), 9);  // nothing until the pins are sampled
  step(1);
  EXPECT_EQ(r.reg(50), 0);
  EXPECT_EQ(r.reg(124), 0);
  // A pin that cannot match (select 0, polarity 0) blocks it.
  write(50, 9);
  write(124, 7);
  step(1);
  EXPECT_EQ(r.reg(50), 9);
  // Select and polarity both set match whatever the level.
  write(125, 8);
  write(124, 15);
  step(1);
  EXPECT_EQ(r.reg(50), 0);
}

TEST_F(Ports, PortBLatchReachesOutputPinsOnlyWhenItChanges) {
  write(82, 5);             // latch 5, no outputs yet
  EXPECT_EQ(r.reg(82), 0);  // the register keeps the sampled levels
  write(81, 1);             // PB0 output at its latch bit
  step(1);
  EXPECT_EQ(r.reg(82), 1);
  write(81, 3);             // PB1 output: latch bit 0
  write(82, 5);             // same latch: nothing
  step(1);
  EXPECT_EQ(r.reg(82), 1);
  write(82, 6);
  EXPECT_EQ(r.reg(82), 2);  // output bits written at once
  write(81, 0);             // released pins go low
  step(1);
  EXPECT_EQ(r.reg(82), 0);
}

TEST_F(Ports, PortCIsAllInOrAllOut) {
  write(84, 9);
  write(83, 1);
  step(1);
  EXPECT_EQ(r.reg(84), 9);
  write(84, 6);
  EXPECT_EQ(r.reg(84), 6);
  write(83, 0);
  step(1);
  EXPECT_EQ(r.reg(84), 0);
}

TEST_F(Ports, ClockOutputTogglesEveryTickWithoutTouchingTheLatch) {
  write(81, 2);   // PB1 output
  write(123, 4);  // PB1 clock
  step(1);        // sampled (low), then toggled by the tick
  EXPECT_EQ(r.reg(82), 0);
  step(1);
  EXPECT_EQ(r.reg(82), 2);
  step(1);
  EXPECT_EQ(r.reg(82), 0);
  write(82, 2);   // the latch does not reach a clock pin
  step(1);
  EXPECT_EQ(r.reg(82), 2);  // the clock's level, sampled
  step(1);
  EXPECT_EQ(r.reg(82), 0);
}

}  // namespace
}  // namespace qv4115test
