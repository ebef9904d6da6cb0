// The watchdog resets the chip in the pass whose tick makes its third 1 Hz
// step without a clear (tick 49152 of a fresh module), unless the program
// clears it (108) or holds it (109).
#include "qv4115_client.h"

namespace qv4115test {
namespace {

class Watchdog : public Qv4115 {
 protected:
  void SetUp() override {
    Qv4115::SetUp();
    startMarkedLoop();
  }
};

TEST_F(Watchdog, ResetsInThePassOfTheThirdOneHzStep) {
  stepTo(3 * kOneSecond - 1);
  ASSERT_FALSE(wasReset());
  EXPECT_EQ(r.pc(), 6);
  stepTo(3 * kOneSecond);
  ASSERT_TRUE(wasReset());
  // The CPU restarted at 0 in that pass, which then executed the JMP 4.
  EXPECT_EQ(r.pc(), 4);
  EXPECT_EQ(r.registers[10].value, 0x70);  // value cleared, compare value kept
  EXPECT_EQ(r.registers[10].flags, 0x12);
}

TEST_F(Watchdog, ClearPostponesAndHoldStopsIt) {
  stepTo(3 * kOneSecond - 100);  // two steps counted
  write(L.watchdog.clear.reg, 0);  // any write clears the counter
  stepTo(5 * kOneSecond - 1);    // steps at 3 s and 4 s
  EXPECT_FALSE(wasReset());
  stepTo(5 * kOneSecond);
  EXPECT_TRUE(wasReset());
}

TEST_F(Watchdog, HoldKeepsTheCounterAtZero) {
  write(L.watchdog.hold.reg, 2);
  stepTo(5 * kOneSecond);
  EXPECT_FALSE(wasReset());
  write(L.watchdog.hold.reg, 0);  // counting again from 0
  stepTo(7 * kOneSecond);
  EXPECT_FALSE(wasReset());
  stepTo(8 * kOneSecond);
  EXPECT_TRUE(wasReset());
}

}  // namespace
}  // namespace qv4115test
