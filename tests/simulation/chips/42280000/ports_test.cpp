// Pins clicked through the dialog procedure: the port-1 pulse counter and
// direction flip-flop, port-2 requests and the reset by pin combination.
#include "qv4128_client.h"
#include "layout.h"

namespace qv4128test {
namespace {

constexpr int kP1 = 1035, kP2 = 1045;

class Ports : public Qv4128 {
 protected:
  void SetUp() override {
    Qv4128::SetUp();
    write(qv4128::L.system.mask.reg, 2);  // no interrupt is taken: the reads run as a program
  }
};

TEST_F(Ports, QuadratureSetsTheDirectionAndCountsEveryEdgeUpToSeven) {
  write(qv4128::L.irq.enables2.reg, 8 | 4);
  // One sense: 00 -> 01 -> 11 -> 10 -> 00 (pin 0 leads).
  ClickPin(kP1 + 0);
  EXPECT_EQ(read(qv4128::L.ports.direction.reg), 1);
  EXPECT_EQ(read(qv4128::L.irq.requests2.reg), 8 | 4);  // direction changed, pulse
  ClickPin(kP1 + 1);
  ClickPin(kP1 + 0);
  ClickPin(kP1 + 1);
  EXPECT_EQ(read(qv4128::L.ports.direction.reg), 1);
  EXPECT_EQ(read(qv4128::L.irq.requests2.reg), 4);      // pulses, no change of direction
  EXPECT_EQ(read(qv4128::L.pulse.count.reg), 4);
  // The other sense: pin 1 leads.
  ClickPin(kP1 + 1);
  EXPECT_EQ(read(qv4128::L.ports.direction.reg), 0);
  EXPECT_EQ(read(qv4128::L.irq.requests2.reg), 8 | 4);
  ClickPin(kP1 + 0);
  ClickPin(kP1 + 1);
  ClickPin(kP1 + 0);
  EXPECT_EQ(read(qv4128::L.pulse.count.reg), 7);       // saturated
  EXPECT_EQ(read(qv4128::L.ports.direction.reg), 0);
  write(qv4128::L.pulse.count.reg, 5);                 // any write clears it
  EXPECT_EQ(read(qv4128::L.pulse.count.reg), 0);
}

TEST_F(Ports, EdgesBetweenRunsCountInTheOrderTheyHappened) {
  write(qv4128::L.irq.enables2.reg, 8);
  r.execute(k42::kRunModeStep);  // the run ends: pins are sampled at the next run
  ClickPin(kP1 + 0);             // rising, pin 1 low: direction 1
  ClickPin(kP1 + 0);             // falling, pin 1 low: direction 0
  EXPECT_EQ(r.reg(qv4128::L.pulse.count.reg), 0);
  step(1);
  EXPECT_EQ(r.reg(qv4128::L.pulse.count.reg), 2);
  EXPECT_EQ(r.reg(qv4128::L.ports.direction.reg), 0);
  EXPECT_EQ(r.reg(qv4128::L.irq.requests2.reg), 8);      // it changed (twice)
  EXPECT_EQ(r.reg(qv4128::L.ports.port1.reg), 0);
}

TEST_F(Ports, PinEdgeRequestsOnlyWhileEnabled) {
  ClickPin(kP1 + 2);
  ClickPin(kP1 + 3);
  EXPECT_EQ(r.reg(qv4128::L.irq.requests2.reg), 0);
  write(qv4128::L.irq.enables2.reg, 3);
  ClickPin(kP1 + 2);
  EXPECT_EQ(r.reg(qv4128::L.irq.requests2.reg), 1);
  ClickPin(kP1 + 3);
  EXPECT_EQ(r.reg(qv4128::L.irq.requests2.reg), 3);
  EXPECT_EQ(r.reg(qv4128::L.ports.port1.reg), 0);  // both back low
  write(qv4128::L.irq.enables3.reg, 2);
  ClickPin(kP2 + 0);        // rising edge on port 2
  EXPECT_EQ(r.reg(qv4128::L.irq.requests3.reg), 2);
  EXPECT_EQ(r.reg(qv4128::L.ports.port2.reg), 1);
  write(qv4128::L.irq.requests3.reg, 2);
  ClickPin(kP2 + 0);        // falling: nothing
  EXPECT_EQ(r.reg(qv4128::L.irq.requests3.reg), 0);
}

TEST_F(Ports, PinCombinationResetsUnlessSwitchedOff) {
  write(50, 9);
  write(qv4128::L.system.resetOptions.reg, 8);
  write(qv4128::L.system.mask.reg, 0);
  ClickPin(kP1 + 3);
  ClickPin(kP2 + 2);
  ClickPin(kP2 + 3);
  EXPECT_EQ(r.reg(50), 9);
  EXPECT_EQ(r.reg(qv4128::L.ports.port2.reg), 12);
  write(qv4128::L.system.resetOptions.reg, 0);
  ClickPin(kP2 + 1);  // port 2 is sampled again: all three high
  EXPECT_EQ(r.reg(50), 0);
  EXPECT_EQ(r.reg(qv4128::L.ports.port2.reg), 0);  // the reset set every pin low
  EXPECT_EQ(r.reg(qv4128::L.prescaler.readout.reg), 8);
}

TEST_F(Ports, OutputPinsIgnoreClicks) {
  write(qv4128::L.ports.directions.reg, 1);
  ClickPin(1055);  // port 3 pin 0 is an output
  step(1);
  EXPECT_EQ(r.reg(qv4128::L.ports.port3.reg), 0);
  ClickPin(1058);  // pin 3 is an input
  step(1);
  EXPECT_EQ(r.reg(qv4128::L.ports.port3.reg), 8);
}

}  // namespace
}  // namespace qv4128test
