// The power-on hold: with the supply below the level needed the chip stays
// in power-on reset, round after round, yet single steps and breaks still end
// the run; the comparator has hysteresis; HALT enables interrupts.
#include "qv4234_client.h"
#include "layout.h"

namespace qv4234test {
namespace {

constexpr int kTop = 360;  // parameter set 0: fall below 105, rise at 125

class PowerOn : public Qv4234 {
 protected:
  void SetUp() override {
    Qv4234::SetUp();
    program({LDI(5), STA(10), JMP(2)});
  }
};

TEST_F(PowerOn, SupplyBelowTheRiseLevelHoldsTheChipAtItsPowerOnState) {
  setVoltage(kSupplySlider, 124, kTop);
  EXPECT_EQ(text(kSupplyLabel), "1.24 V");
  // A single step still returns after one round.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(r.execute(k42::kRunModeStep), k42::kStopStep);
  EXPECT_EQ(r.pc(), 0);
  EXPECT_EQ(r.reg(10), 0);
  EXPECT_EQ(r.reg(qv4234::L.ports.functions2.reg), 3);
  EXPECT_EQ(r.reg(qv4234::L.control.watchdog.reg), 8);
  EXPECT_EQ(r.reg(qv4234::L.comparator.thresholdIndex.reg), 5);  // field 34 of set 0
  // A run ends on a break.
  EXPECT_EQ(runRounds(1000), k42::kStopStep);
  EXPECT_EQ(r.pc(), 0);
  // Monitor writes are undone by the next held round.
  write(120, 7);
  step(1);
  EXPECT_EQ(r.reg(120), 0);

  setVoltage(kSupplySlider, 125, kTop);
  step(2);
  EXPECT_EQ(r.reg(10), 5);
  EXPECT_EQ(r.pc(), 2);
}

TEST_F(PowerOn, RunningChipFallsBackOnlyBelowTheFallLevel) {
  step(2);
  ASSERT_EQ(r.reg(10), 5);
  setVoltage(kSupplySlider, 105, kTop);  // between the levels: keeps running
  step(5);
  EXPECT_EQ(r.reg(10), 5);
  EXPECT_EQ(r.pc(), 2);
  setVoltage(kSupplySlider, 104, kTop);
  step(1);
  EXPECT_EQ(r.pc(), 0);
  EXPECT_EQ(r.reg(10), 0);
  // Back to 110: still held, since leaving needs 125.
  setVoltage(kSupplySlider, 110, kTop);
  step(3);
  EXPECT_EQ(r.pc(), 0);
}

TEST_F(PowerOn, HaltEnablesInterruptsSoAPendingRequestIsTakenInTheNextRound) {
  program({HALT, NOP, NOP});
  write(qv4234::L.irq.enables1.reg, 1);  // pin interrupt 0: PA0, rising edge
  click(kPinButton);
  ASSERT_EQ(r.reg(qv4234::L.irq.requests1.reg), 1);
  step(1);  // HALT
  EXPECT_EQ(r.reg(qv4234::L.control.system.reg) & 8, 8);
  EXPECT_EQ(r[k42::kHalted], 1);
  EXPECT_EQ(r[k42::kInInterrupt], 0);
  step(1);
  EXPECT_EQ(r[k42::kInInterrupt], 1);
  EXPECT_EQ(r[k42::kStackLevel], 1);
  EXPECT_EQ(r.pc(), 1);
  EXPECT_EQ(r[k42::kHalted], 0);
}

// The whole road: a source assembled by K42xxasm, run in the module bound
// by name; the timer's interrupt enables stored and read back.
TEST_F(Qv4234, AnAssembledSourceRunsInTheModule) { runWholeRoad(qv4234::L.irq.enables1.reg, 12); }

}  // namespace
}  // namespace qv4234test
