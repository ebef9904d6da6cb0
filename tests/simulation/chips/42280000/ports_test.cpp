// Pins clicked through the dialog procedure: the port-1 pulse counter and
// direction flip-flop, port-2 requests and the reset by pin combination.
#include "qv4128_client.h"
#include "registers.h"

namespace qv4128test {
namespace {

constexpr int kP1 = 1035, kP2 = 1045;

class Ports : public Qv4128 {
 protected:
  void SetUp() override {
    Qv4128::SetUp();
    write(qv4128::kInterruptMask, 2);  // no interrupt is taken: the reads run as a program
  }
};

TEST_F(Ports, QuadratureSetsTheDirectionAndCountsEveryEdgeUpToSeven) {
  write(qv4128::kEnables2, 8 | 4);
  // One sense: 00 -> 01 -> 11 -> 10 -> 00 (pin 0 leads).
  ClickPin(kP1 + 0);
  EXPECT_EQ(read(qv4128::kDirection), 1);
  EXPECT_EQ(read(qv4128::kRequests2), 8 | 4);  // direction changed, pulse
  ClickPin(kP1 + 1);
  ClickPin(kP1 + 0);
  ClickPin(kP1 + 1);
  EXPECT_EQ(read(qv4128::kDirection), 1);
  EXPECT_EQ(read(qv4128::kRequests2), 4);      // pulses, no change of direction
  EXPECT_EQ(read(qv4128::kPulseCount), 4);
  // The other sense: pin 1 leads.
  ClickPin(kP1 + 1);
  EXPECT_EQ(read(qv4128::kDirection), 0);
  EXPECT_EQ(read(qv4128::kRequests2), 8 | 4);
  ClickPin(kP1 + 0);
  ClickPin(kP1 + 1);
  ClickPin(kP1 + 0);
  EXPECT_EQ(read(qv4128::kPulseCount), 7);       // saturated
  EXPECT_EQ(read(qv4128::kDirection), 0);
  write(qv4128::kPulseCount, 5);                 // any write clears it
  EXPECT_EQ(read(qv4128::kPulseCount), 0);
}

TEST_F(Ports, EdgesBetweenRunsCountInTheOrderTheyHappened) {
  write(qv4128::kEnables2, 8);
  r.execute(k42::kRunModeStep);  // the run ends: pins are sampled at the next run
  ClickPin(kP1 + 0);             // rising, pin 1 low: direction 1
  ClickPin(kP1 + 0);             // falling, pin 1 low: direction 0
  EXPECT_EQ(r.reg(qv4128::kPulseCount), 0);
  step(1);
  EXPECT_EQ(r.reg(qv4128::kPulseCount), 2);
  EXPECT_EQ(r.reg(qv4128::kDirection), 0);
  EXPECT_EQ(r.reg(qv4128::kRequests2), 8);      // it changed (twice)
  EXPECT_EQ(r.reg(qv4128::kPort1), 0);
}

TEST_F(Ports, PinEdgeRequestsOnlyWhileEnabled) {
  ClickPin(kP1 + 2);
  ClickPin(kP1 + 3);
  EXPECT_EQ(r.reg(qv4128::kRequests2), 0);
  write(qv4128::kEnables2, 3);
  ClickPin(kP1 + 2);
  EXPECT_EQ(r.reg(qv4128::kRequests2), 1);
  ClickPin(kP1 + 3);
  EXPECT_EQ(r.reg(qv4128::kRequests2), 3);
  EXPECT_EQ(r.reg(qv4128::kPort1), 0);  // both back low
  write(qv4128::kEnables3, 2);
  ClickPin(kP2 + 0);        // rising edge on port 2
  EXPECT_EQ(r.reg(qv4128::kRequests3), 2);
  EXPECT_EQ(r.reg(qv4128::kPort2), 1);
  write(qv4128::kRequests3, 2);
  ClickPin(kP2 + 0);        // falling: nothing
  EXPECT_EQ(r.reg(qv4128::kRequests3), 0);
}

TEST_F(Ports, PinCombinationResetsUnlessSwitchedOff) {
  write(50, 9);
  write(qv4128::kResetOptions, 8);
  write(qv4128::kInterruptMask, 0);
  ClickPin(kP1 + 3);
  ClickPin(kP2 + 2);
  ClickPin(kP2 + 3);
  EXPECT_EQ(r.reg(50), 9);
  EXPECT_EQ(r.reg(qv4128::kPort2), 12);
  write(qv4128::kResetOptions, 0);
  ClickPin(kP2 + 1);  // port 2 is sampled again: all three high
  EXPECT_EQ(r.reg(50), 0);
  EXPECT_EQ(r.reg(qv4128::kPort2), 0);  // the reset set every pin low
  EXPECT_EQ(r.reg(qv4128::kPrescalerReadout), 8);
}

TEST_F(Ports, OutputPinsIgnoreClicks) {
  write(qv4128::kPortDirections, 1);
  ClickPin(1055);  // port 3 pin 0 is an output
  step(1);
  EXPECT_EQ(r.reg(qv4128::kPort3), 0);
  ClickPin(1058);  // pin 3 is an input
  step(1);
  EXPECT_EQ(r.reg(qv4128::kPort3), 8);
}

}  // namespace
}  // namespace qv4128test
