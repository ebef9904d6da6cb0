// The ADC: a conversion ends 10 ticks after the start; a single conversion
// leaves 98 = 3; continuous mode converts every 10 ticks until bit 3 is
// cleared; the request is ORed with mask 102 bit 0. (Input values are set
// from the window: see the window tests.)
#include "qv4115_client.h"

namespace qv4115test {
namespace {

using Converter = Qv4115;

TEST_F(Converter, SingleConversionEndsAfterTenTicks) {
  write(99, 15);
  write(100, 15);
  write(102, 1);
  write(98, 0xD);  // start, single, channel 1
  step(9);
  EXPECT_EQ(r.reg(99), 15);
  EXPECT_EQ(r.reg(98), 0xD);
  step(1);
  EXPECT_EQ(r.reg(99), 0);  // no window: input 1 is 0
  EXPECT_EQ(r.reg(100), 0);
  EXPECT_EQ(r.reg(98), 3);
  EXPECT_EQ(r.reg(105), 1);
  write(99, 7);
  step(30);
  EXPECT_EQ(r.reg(99), 7);  // no second conversion
}

TEST_F(Converter, ContinuousConvertsUntilBitThreeIsCleared) {
  write(98, 0x9);
  for (int i = 0; i < 3; ++i) {
    write(99, 15);
    step(10);
    EXPECT_EQ(r.reg(99), 0) << i;
    EXPECT_EQ(r.reg(105), 0);  // masked off
  }
  write(98, 0x1);  // bit 3 cleared: the running conversion is the last
  write(99, 15);
  step(10);
  EXPECT_EQ(r.reg(99), 0);
  write(99, 15);
  step(20);
  EXPECT_EQ(r.reg(99), 15);
}

}  // namespace
}  // namespace qv4115test
