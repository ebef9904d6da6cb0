// The watchdog resets the chip at its fourth step (131072 ticks, 8 s of chip
// time); the tick divider stretches that in rounds; sleep ends in a periphery
// reset after exactly 2,500,000 rounds unless it has no time-out.
#include "qv4234_client.h"
#include "layout.h"

namespace qv4234test {
namespace {

constexpr uint64_t kWatchdogTicks = 4 * 32768;
constexpr uint64_t kSleepRounds = 2'500'000;

class WatchdogSleep : public Qv4234 {
 protected:
  // Register 120 is cleared by every periphery reset; RAM is kept.
  void mark() {
    write(120, 15);
    write(20, 9);
  }
  bool wasReset() const { return r.reg(120) == 0; }
};

TEST_F(WatchdogSleep, NeverClearedResetsAtTheFourthStepKeepingRam) {
  mark();
  ASSERT_EQ(runRounds(3 * 32768), k42::kStopStep);
  EXPECT_EQ(r.reg(qv4234::L.control.watchdog.reg) & 3, 3);
  EXPECT_EQ(r.reg(qv4234::L.control.watchdog.reg) & 8, 8);
  ASSERT_EQ(runRounds(32767), k42::kStopStep);
  EXPECT_FALSE(wasReset());
  runRounds(1);
  EXPECT_TRUE(wasReset());
  EXPECT_EQ(r.reg(20), 9);
  EXPECT_EQ(r.reg(qv4234::L.control.watchdog.reg) & 3, 0);
  EXPECT_EQ(r.reg(qv4234::L.ports.functions2.reg), 3);  // kept by a periphery reset
}

TEST_F(WatchdogSleep, TickDividerOfTwoTakesTwiceAsManyRounds) {
  write(qv4234::L.control.tickDivider.reg, 1);
  mark();
  runRounds(2 * kWatchdogTicks - 1);
  EXPECT_FALSE(wasReset());
  runRounds(1);
  EXPECT_TRUE(wasReset());
}

TEST_F(WatchdogSleep, DividerExponentsAboveFourGiveOneTickPerRound) {
  write(qv4234::L.control.tickDivider.reg, 5);
  mark();
  runRounds(kWatchdogTicks);
  EXPECT_TRUE(wasReset());
}

TEST_F(WatchdogSleep, ComparatorBitZeroHoldsTheCounterAtZero) {
  write(qv4234::L.comparator.control.reg, 1);
  mark();
  runRounds(3 * kWatchdogTicks);
  EXPECT_FALSE(wasReset());
  EXPECT_EQ(r.reg(qv4234::L.control.watchdog.reg) & 3, 0);
}

TEST_F(WatchdogSleep, ClearingWithBitThreeStartsTheCountAgain) {
  mark();
  runRounds(3 * 32768 + 5);
  write(qv4234::L.control.watchdog.reg, 8);
  EXPECT_EQ(r.reg(qv4234::L.control.watchdog.reg) & 3, 0);
  runRounds(kWatchdogTicks - 1000);
  EXPECT_FALSE(wasReset());
}

class Sleep : public WatchdogSleep {
 protected:
  // 0: LDI 4  1: STA 106  2: STA 105  3: JMP 3
  void SetUp() override {
    WatchdogSleep::SetUp();
    program({LDI(4), STA(106), STA(105), JMP(3)});
    mark();
    write(qv4234::L.comparator.control.reg, 1);  // no watchdog in the way
    step(3);
    ASSERT_EQ(r.pc(), 3);
  }
};

TEST_F(Sleep, EndsInAPeripheryResetAfterExactly2500000Rounds) {
  EXPECT_EQ(r.execute(k42::kRunModeStep), k42::kStopStep);  // one sleeping round
  EXPECT_EQ(r.pc(), 3);
  runRounds(kSleepRounds - 2);
  EXPECT_FALSE(wasReset());
  EXPECT_EQ(r.pc(), 3);
  runRounds(1);
  EXPECT_TRUE(wasReset());
  EXPECT_EQ(r.pc(), 0);
  EXPECT_EQ(r.reg(qv4234::L.control.system.reg) & 4, 0);
  EXPECT_EQ(r.reg(qv4234::L.control.watchdog.reg) & 4, 4);  // sleep enable is kept
  step(1);
  EXPECT_EQ(r.pc(), 1);  // running again
}

TEST_F(Sleep, WithoutTimeOutNeverResets) {
  write(qv4234::L.control.sleepOptions.reg, 4);
  runRounds(kSleepRounds + 10);
  EXPECT_FALSE(wasReset());
  EXPECT_EQ(r.pc(), 3);
}

TEST_F(Sleep, WakeUpPinResetsTheSleepingChip) {
  step(1);
  write(qv4234::L.ports.pinSelect.reg, 4);  // wake-up on the pin of pin interrupt 0 (PA0); the register file is known again
  EXPECT_FALSE(wasReset());
  click(kPinButton);  // sampled at once
  EXPECT_TRUE(wasReset());
}

}  // namespace
}  // namespace qv4234test
