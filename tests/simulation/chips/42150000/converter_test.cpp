// The ADC: a conversion ends 10 ticks after the start; a single conversion
// leaves 98 = 3; continuous mode converts every 10 ticks until bit 3 is
// cleared; the request is ORed with mask 102 bit 0. (Input values are set
// from the window: see the window tests.)
#include "qv4115_client.h"

namespace qv4115test {
namespace {

using Converter = Qv4115;

TEST_F(Converter, SingleConversionEndsAfterTenTicks) {
  write(L.adc.low.reg, 15);
  write(L.adc.high.reg, 15);
  write(L.irq.systemEnables.reg, 1);
  write(L.adc.control.reg, 0xD);  // start, single, channel 1
  step(9);
  EXPECT_EQ(r.reg(L.adc.low.reg), 15);
  EXPECT_EQ(r.reg(L.adc.control.reg), 0xD);
  step(1);
  EXPECT_EQ(r.reg(L.adc.low.reg), 0);  // no window: input 1 is 0
  EXPECT_EQ(r.reg(L.adc.high.reg), 0);
  EXPECT_EQ(r.reg(L.adc.control.reg), 3);
  EXPECT_EQ(r.reg(L.irq.systemRequests.reg), 1);
  write(L.adc.low.reg, 7);
  step(30);
  EXPECT_EQ(r.reg(L.adc.low.reg), 7);  // no second conversion
}

TEST_F(Converter, ContinuousConvertsUntilBitThreeIsCleared) {
  write(L.adc.control.reg, 0x9);
  for (int i = 0; i < 3; ++i) {
    write(L.adc.low.reg, 15);
    step(10);
    EXPECT_EQ(r.reg(L.adc.low.reg), 0) << i;
    EXPECT_EQ(r.reg(L.irq.systemRequests.reg), 0);  // masked off
  }
  write(L.adc.control.reg, 0x1);  // bit 3 cleared: the running conversion is the last
  write(L.adc.low.reg, 15);
  step(10);
  EXPECT_EQ(r.reg(L.adc.low.reg), 0);
  write(L.adc.low.reg, 15);
  step(20);
  EXPECT_EQ(r.reg(L.adc.low.reg), 15);
}

}  // namespace
}  // namespace qv4115test
