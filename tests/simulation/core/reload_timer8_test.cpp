// The 8-bit reload timer: its terminal values in both directions, with and
// without autoreload, and the nibble read latch.
#include "periphery/reload_timer8.h"

#include <gtest/gtest.h>

namespace {

using periphery::CountDirection;
using periphery::ReloadTimer8;

TEST(ReloadTimer8, DownCounterReloadsAtZeroOrStopsThere) {
  ReloadTimer8 t{{CountDirection::DownToZero}};
  t.setReloadLow(2);
  t.setReloadHigh(0);
  t.setAutoreload(true);
  t.start();
  EXPECT_FALSE(t.step());
  EXPECT_EQ(t.count(), 1);
  EXPECT_TRUE(t.step());  // reaches 0: reloaded at once, never reads 0
  EXPECT_EQ(t.count(), 2);
  EXPECT_TRUE(t.running());
  t.setAutoreload(false);
  t.step();
  EXPECT_TRUE(t.step());
  EXPECT_EQ(t.count(), 0);
  EXPECT_FALSE(t.running());
  t.setRunning(true);  // a count of 0 going on gives 255
  EXPECT_FALSE(t.step());
  EXPECT_EQ(t.count(), 0xFF);
}

TEST(ReloadTimer8, UpCounterRequestsAt255AndWrapsWithoutAutoreload) {
  ReloadTimer8 t{{CountDirection::UpTo255}};
  t.setReload(0xFE);
  t.start();
  EXPECT_TRUE(t.step());
  EXPECT_EQ(t.count(), 0xFF);
  EXPECT_FALSE(t.step());
  EXPECT_EQ(t.count(), 0);
  int steps = 0;
  while (!t.step()) ++steps;
  EXPECT_EQ(steps, 254);  // 256 counts from 255 to the next 255
  t.setAutoreload(true);
  t.setCount(0xFE);
  EXPECT_TRUE(t.step());
  EXPECT_EQ(t.count(), 0xFE);  // reloaded
  EXPECT_TRUE(t.running());
}

TEST(ReloadTimer8, ReadingTheLowNibbleLatchesTheHighOne) {
  ReloadTimer8 t{{CountDirection::UpTo255}};
  t.setCount(0x3F);
  t.setRunning(true);
  EXPECT_EQ(t.readLow(), 0xF);
  t.step();  // 0x40
  EXPECT_EQ(t.latchedHigh(), 3);
  EXPECT_EQ(t.readLow(), 0);
  EXPECT_EQ(t.latchedHigh(), 4);
  t.reset();
  EXPECT_EQ(t.latchedHigh(), 0);
  EXPECT_FALSE(t.running());
}

}  // namespace
