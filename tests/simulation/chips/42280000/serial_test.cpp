// The serial interface on port 5: internal clock from the prescaler, 8 to 5
// bits per transfer, received bits into 112/113, completion request.
#include "qv4128_client.h"
#include "layout.h"

namespace qv4128test {
namespace {

constexpr int kIn = 1075, kClk = 1078;

class Serial : public Qv4128 {
 protected:
  void SetUp() override {
    Qv4128::SetUp();
    write(qv4128::L.system.mask.reg, 2);  // no interrupt is taken
  }
};

TEST_F(Serial, InternalClockEightBitsWithInHigh) {
  ClickPin(kIn);    // IN high
  write(qv4128::L.serial.mode.reg, 4);    // clock tap 4 (every tick), 8 bits
  write(qv4128::L.serial.control.reg, 2 | 8);
  step(14);         // the 8th bit is sampled on the 15th clock event
  EXPECT_EQ(r.reg(qv4128::L.serial.control.reg) & 8, 8);
  step(1);
  EXPECT_EQ(r.reg(qv4128::L.serial.control.reg), 2);
  EXPECT_EQ(r.reg(qv4128::L.serial.low.reg), 15);
  EXPECT_EQ(r.reg(qv4128::L.serial.high.reg), 15);
  EXPECT_EQ(r.reg(qv4128::L.irq.requests3.reg), 0);  // not enabled: no request
}

TEST_F(Serial, CompletionRequestWhenEnabledAndFewerBits) {
  write(qv4128::L.irq.enables3.reg, 1);
  write(qv4128::L.serial.mode.reg, 8 | 3);  // tap 8 (every 2nd tick), 5 bits
  write(qv4128::L.serial.control.reg, 2 | 8);
  step(2 * 10);
  EXPECT_EQ(r.reg(qv4128::L.serial.control.reg) & 8, 0);
  EXPECT_EQ(r.reg(qv4128::L.irq.requests3.reg), 1);
  EXPECT_EQ(r.reg(qv4128::L.serial.low.reg), 0);
  EXPECT_EQ(r.reg(qv4128::L.serial.high.reg), 0);
}

TEST_F(Serial, ExternalClockMovesOnClkEdges) {
  write(qv4128::L.serial.mode.reg, 0);      // CLK pin
  write(qv4128::L.serial.control.reg, 2 | 8);
  ClickPin(kIn);
  for (int i = 0; i < 14; ++i) ClickPin(kClk);
  EXPECT_EQ(r.reg(qv4128::L.serial.control.reg) & 8, 8);
  ClickPin(kClk);
  EXPECT_EQ(r.reg(qv4128::L.serial.control.reg) & 8, 0);
  EXPECT_EQ(r.reg(qv4128::L.serial.low.reg), 15);
}

TEST_F(Serial, NoClockWithoutTheSerialFunction) {
  write(qv4128::L.serial.mode.reg, 4);
  write(qv4128::L.serial.control.reg, 8);
  step(40);
  EXPECT_EQ(r.reg(qv4128::L.serial.control.reg), 8);
}

}  // namespace
}  // namespace qv4128test
