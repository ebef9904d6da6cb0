// Ports without clicks: the reset combination, direction and latch rules of
// ports B and C, and the clock outputs. (Pin clicks: the window tests.)
#include "qv4115_client.h"

namespace qv4115test {
namespace {

using Ports = Qv4115;

TEST_F(Ports, ResetCombinationOfLowPinsResetsAtTheNextSampling) {
  write(50, 9);
  write(L.reset.select.reg, 15);
  write(L.reset.polarity.reg, 0);
  EXPECT_EQ(r.reg(50), 9);  // nothing until the pins are sampled
  step(1);
  EXPECT_EQ(r.reg(50), 0);
  EXPECT_EQ(r.reg(L.reset.select.reg), 0);
  // A pin that cannot match (select 0, polarity 0) blocks it.
  write(50, 9);
  write(L.reset.select.reg, 7);
  step(1);
  EXPECT_EQ(r.reg(50), 9);
  // Select and polarity both set match whatever the level.
  write(L.reset.polarity.reg, 8);
  write(L.reset.select.reg, 15);
  step(1);
  EXPECT_EQ(r.reg(50), 0);
}

TEST_F(Ports, PortBLatchReachesOutputPinsOnlyWhenItChanges) {
  write(L.portB.data.reg, 5);             // latch 5, no outputs yet
  EXPECT_EQ(r.reg(L.portB.data.reg), 0);  // the register keeps the sampled levels
  write(L.portB.direction.reg, 1);        // PB0 output at its latch bit
  step(1);
  EXPECT_EQ(r.reg(L.portB.data.reg), 1);
  write(L.portB.direction.reg, 3);  // PB1 output: latch bit 0
  write(L.portB.data.reg, 5);       // same latch: nothing
  step(1);
  EXPECT_EQ(r.reg(L.portB.data.reg), 1);
  write(L.portB.data.reg, 6);
  EXPECT_EQ(r.reg(L.portB.data.reg), 2);  // output bits written at once
  write(L.portB.direction.reg, 0);        // released pins go low
  step(1);
  EXPECT_EQ(r.reg(L.portB.data.reg), 0);
}

TEST_F(Ports, PortCIsAllInOrAllOut) {
  write(L.portC.data.reg, 9);
  write(L.portC.direction.reg, 1);
  step(1);
  EXPECT_EQ(r.reg(L.portC.data.reg), 9);
  write(L.portC.data.reg, 6);
  EXPECT_EQ(r.reg(L.portC.data.reg), 6);
  write(L.portC.direction.reg, 0);
  step(1);
  EXPECT_EQ(r.reg(L.portC.data.reg), 0);
}

TEST_F(Ports, ClockOutputTogglesEveryTickWithoutTouchingTheLatch) {
  write(L.portB.direction.reg, 2);     // PB1 output
  write(L.portB.clockOutputs.reg, 4);  // PB1 clock
  step(1);        // sampled (low), then toggled by the tick
  EXPECT_EQ(r.reg(L.portB.data.reg), 0);
  step(1);
  EXPECT_EQ(r.reg(L.portB.data.reg), 2);
  step(1);
  EXPECT_EQ(r.reg(L.portB.data.reg), 0);
  write(L.portB.data.reg, 2);  // the latch does not reach a clock pin
  step(1);
  EXPECT_EQ(r.reg(L.portB.data.reg), 2);  // the clock's level, sampled
  step(1);
  EXPECT_EQ(r.reg(L.portB.data.reg), 0);
}

}  // namespace
}  // namespace qv4115test
