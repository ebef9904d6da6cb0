// The comparator: one measurement every 4 ticks on the ADC input (PA4) or
// the supply, against the threshold of register 116's index in the active
// parameter set; the selectable top threshold.
#include "qv4234_client.h"

namespace qv4234test {
namespace {

class Comparator : public Qv4234 {
 protected:
  void SetUp() override {
    open("0,0,0,4");  // parameter set 1: sliders top at 1.80 V
    write(116, 5);    // ADC threshold 5 = 0.77 V
    write(102, 2);
  }
  static constexpr int kTop = 180;
};

TEST_F(Comparator, AdcBelowTheThresholdClearsTheResultAndRaisesTheRequest) {
  setVoltage(kAdcSlider, 76, kTop);
  EXPECT_EQ(text(kAdcLabel), "0.76 V");
  write(115, 8 | 4);  // ADC channel, start
  EXPECT_EQ(text(kPinButton + 4), "ADC");
  runRounds(3);
  EXPECT_EQ(r.reg(115), 4);
  runRounds(1);
  EXPECT_EQ(r.reg(115), 0);
  EXPECT_EQ(r.reg(104), 2);
  setVoltage(kAdcSlider, 77, kTop);
  write(104, 2);
  write(115, 8 | 4);
  runRounds(4);
  EXPECT_EQ(r.reg(115), 8);
  EXPECT_EQ(r.reg(104), 0);
  // A single measurement ended: the result stays.
  setVoltage(kAdcSlider, 10, kTop);
  runRounds(8);
  EXPECT_EQ(r.reg(115), 8);
  // Back to the supply channel: PA4 is an input pin again.
  write(115, 0);
  EXPECT_EQ(text(kPinButton + 4), "L");
}

TEST_F(Comparator, NoRequestWithoutItsEnable) {
  write(102, 0);
  setVoltage(kAdcSlider, 0, kTop);
  write(115, 8 | 4);
  runRounds(4);
  EXPECT_EQ(r.reg(115), 0);
  EXPECT_EQ(r.reg(104), 0);
}

TEST_F(Comparator, ContinuousMeasurementFollowsTheSlider) {
  write(115, 8 | 2);
  runRounds(4);
  EXPECT_EQ(r.reg(115) & 8, 8);
  setVoltage(kAdcSlider, 50, kTop);
  runRounds(4);
  EXPECT_EQ(r.reg(115) & 8, 0);
  setVoltage(kAdcSlider, 100, kTop);
  runRounds(4);
  EXPECT_EQ(r.reg(115) & 8, 8);
}

TEST_F(Comparator, SupplyChannelUsesTheSupplyThresholds) {
  write(116, 9);                           // set 1 supply threshold 9 = 1.10 V
  setVoltage(kSupplySlider, 115, kTop);    // above the power-on levels too
  write(115, 4);
  runRounds(4);
  EXPECT_EQ(r.reg(115) & 8, 8);
  setVoltage(kSupplySlider, 109, kTop);    // still running: the fall level is 0.70 V
  write(115, 4);
  runRounds(4);
  EXPECT_EQ(r.reg(115) & 8, 0);
  EXPECT_EQ(r.reg(104), 2);
}

TEST_F(Comparator, Register123ChoosesTheTopThresholdFromItsPair) {
  write(116, 15);
  setVoltage(kAdcSlider, 170, kTop);
  write(115, 8 | 4);
  runRounds(4);
  EXPECT_EQ(r.reg(115) & 8, 8);  // 168
  write(123, 1);                 // 183
  write(115, 8 | 4);
  runRounds(4);
  EXPECT_EQ(r.reg(115) & 8, 0);
  write(123, 0);                 // 166
  write(115, 8 | 4);
  runRounds(4);
  EXPECT_EQ(r.reg(115) & 8, 8);
}

}  // namespace
}  // namespace qv4234test
