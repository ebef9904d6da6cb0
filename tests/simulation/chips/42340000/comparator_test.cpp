// The comparator: one measurement every 4 ticks on the ADC input (PA4) or
// the supply, against the threshold of register 116's index in the active
// parameter set; the selectable top threshold.
#include "qv4234_client.h"
#include "layout.h"

namespace qv4234test {
namespace {

class Comparator : public Qv4234 {
 protected:
  void SetUp() override {
    open("0,0,0,4");  // parameter set 1: sliders top at 1.80 V
    write(qv4234::L.comparator.thresholdIndex.reg, 5);    // ADC threshold 5 = 0.77 V
    write(qv4234::L.irq.enables2.reg, 2);
  }
  static constexpr int kTop = 180;
};

TEST_F(Comparator, AdcBelowTheThresholdClearsTheResultAndRaisesTheRequest) {
  setVoltage(kAdcSlider, 76, kTop);
  EXPECT_EQ(text(kAdcLabel), "0.76 V");
  write(qv4234::L.comparator.control.reg, 8 | 4);  // ADC channel, start
  EXPECT_EQ(text(kPinButton + 4), "ADC");
  runRounds(3);
  EXPECT_EQ(r.reg(qv4234::L.comparator.control.reg), 4);
  runRounds(1);
  EXPECT_EQ(r.reg(qv4234::L.comparator.control.reg), 0);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests2.reg), 2);
  setVoltage(kAdcSlider, 77, kTop);
  write(qv4234::L.irq.requests2.reg, 2);
  write(qv4234::L.comparator.control.reg, 8 | 4);
  runRounds(4);
  EXPECT_EQ(r.reg(qv4234::L.comparator.control.reg), 8);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests2.reg), 0);
  // A single measurement ended: the result stays.
  setVoltage(kAdcSlider, 10, kTop);
  runRounds(8);
  EXPECT_EQ(r.reg(qv4234::L.comparator.control.reg), 8);
  // Back to the supply channel: PA4 is an input pin again.
  write(qv4234::L.comparator.control.reg, 0);
  EXPECT_EQ(text(kPinButton + 4), "L");
}

TEST_F(Comparator, NoRequestWithoutItsEnable) {
  write(qv4234::L.irq.enables2.reg, 0);
  setVoltage(kAdcSlider, 0, kTop);
  write(qv4234::L.comparator.control.reg, 8 | 4);
  runRounds(4);
  EXPECT_EQ(r.reg(qv4234::L.comparator.control.reg), 0);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests2.reg), 0);
}

TEST_F(Comparator, ContinuousMeasurementFollowsTheSlider) {
  write(qv4234::L.comparator.control.reg, 8 | 2);
  runRounds(4);
  EXPECT_EQ(r.reg(qv4234::L.comparator.control.reg) & 8, 8);
  setVoltage(kAdcSlider, 50, kTop);
  runRounds(4);
  EXPECT_EQ(r.reg(qv4234::L.comparator.control.reg) & 8, 0);
  setVoltage(kAdcSlider, 100, kTop);
  runRounds(4);
  EXPECT_EQ(r.reg(qv4234::L.comparator.control.reg) & 8, 8);
}

TEST_F(Comparator, SupplyChannelUsesTheSupplyThresholds) {
  write(qv4234::L.comparator.thresholdIndex.reg, 9);                           // set 1 supply threshold 9 = 1.10 V
  setVoltage(kSupplySlider, 115, kTop);    // above the power-on levels too
  write(qv4234::L.comparator.control.reg, 4);
  runRounds(4);
  EXPECT_EQ(r.reg(qv4234::L.comparator.control.reg) & 8, 8);
  setVoltage(kSupplySlider, 109, kTop);    // still running: the fall level is 0.70 V
  write(qv4234::L.comparator.control.reg, 4);
  runRounds(4);
  EXPECT_EQ(r.reg(qv4234::L.comparator.control.reg) & 8, 0);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests2.reg), 2);
}

TEST_F(Comparator, Register123ChoosesTheTopThresholdFromItsPair) {
  write(qv4234::L.comparator.thresholdIndex.reg, 15);
  setVoltage(kAdcSlider, 170, kTop);
  write(qv4234::L.comparator.control.reg, 8 | 4);
  runRounds(4);
  EXPECT_EQ(r.reg(qv4234::L.comparator.control.reg) & 8, 8);  // 168
  write(qv4234::L.comparator.topThreshold.reg, 1);                 // 183
  write(qv4234::L.comparator.control.reg, 8 | 4);
  runRounds(4);
  EXPECT_EQ(r.reg(qv4234::L.comparator.control.reg) & 8, 0);
  write(qv4234::L.comparator.topThreshold.reg, 0);                 // 166
  write(qv4234::L.comparator.control.reg, 8 | 4);
  runRounds(4);
  EXPECT_EQ(r.reg(qv4234::L.comparator.control.reg) & 8, 8);
}

}  // namespace
}  // namespace qv4234test
