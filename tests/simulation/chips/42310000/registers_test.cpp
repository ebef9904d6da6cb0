// Registers without the window: the reset and its redraws, ports B and C,
// the timer's differences, the EEPROM and the reset combination.
#include "qv4131_client.h"

namespace qv4131test {
namespace {

using Registers = Qv4131;

TEST_F(Registers, ResetSweepsValuesLatchesAndPostsTheNineRedraws) {
  write(kPortB, 5);  // the latches are reset too
  write(kPortC, 6);
  for (int n = 0; n < 128; ++n) r.registers[n].value = 0xF0 | 0xD;
  Redraws posted;
  RecordRedraws(&posted);
  r.reset();
  RecordRedraws(nullptr);
  for (int n = 0; n < 128; ++n) {
    int expected = 0;
    if (n == kPortA || n == 127) expected = 0xD;
    if (n == kWatchdogSleep) expected = 4;
    if (n == kPortB || n == kSwbData || n == kTimerLow) expected = 15;
    if (n == kClockAdjustLow) expected = 8;
    EXPECT_EQ(r.registers[n].value, 0xF0 | expected) << n;
  }
  const Redraws expected = {{0, 1035}, {1, 1081}, {2, 1097}, {3, 0xFFFF}, {4, 255},
                            {5, 255},  {6, 4095}, {7, 255},  {8, 255}};
  EXPECT_EQ(posted, expected);
  write(kPortBDirection, 1);
  write(kPortCDirection, 2);
  step(1);
  EXPECT_EQ(r.reg(kPortB), 0);
  EXPECT_EQ(r.reg(kPortC), 0);
}

TEST_F(Registers, PortCHasADirectionPerPinAndTheSwbTakesPc0AndPc1) {
  write(kPortC, 5);
  write(kPortCDirection, 1);  // PC0 at its latch level
  step(1);
  EXPECT_EQ(r.reg(kPortC), 1);
  write(kPortCDirection, 3);
  write(kPortC, 5);  // the same latch: nothing
  write(kPortC, 6);
  EXPECT_EQ(r.reg(kPortC), 2);
  write(kPortCDirection, 0);  // released pins keep the latch's levels
  step(1);
  EXPECT_EQ(r.reg(kPortC), 2);
  // External mode: PC0 and PC1 carry the SWB's lines (low); the latch comes
  // back when it is left.
  write(kPortCDirection, 15);
  write(kPortC, 15);
  write(kSwbClock, 8);
  step(1);
  EXPECT_EQ(r.reg(kPortC), 12);
  write(kPortC, 3);
  write(kPortC, 7);
  step(1);
  EXPECT_EQ(r.reg(kPortC), 4);
  write(kSwbClock, 0);
  step(1);
  EXPECT_EQ(r.reg(kPortC), 7);
}

TEST_F(Registers, LeavingPwmGivesPb3ItsLatchLevel) {
  write(kPortBDirection, 8);
  write(kPrescalerPwm, 8);
  write(kPortB, 8);  // PB3 belongs to PWM
  step(1);
  EXPECT_EQ(r.reg(kPortB), 0);
  write(kPrescalerPwm, 0);
  step(1);
  EXPECT_EQ(r.reg(kPortB), 8);
}

TEST_F(Registers, DirectionChangeInvertsTheCountAndALoadKeepsTheCompareEnable) {
  write(kTimerEnables, 3);
  write(kTimerControl, 8 | 1);  // up at every tick
  write(kTimerLow, 9);
  write(kTimerMiddle, 15);
  write(kTimerHigh, 3);     // value 0x3F9, ten bits
  write(kTimerRun, 8 | 2);  // run, compare enable
  write(kTimerRun, 8 | 1);  // load: bits 0-1 read 0, compare still on
  EXPECT_EQ(r.reg(kTimerRun), 8);
  step(2);
  EXPECT_EQ(r.reg(kTimerLow), 0xB);
  write(kTimerControl, 1);  // down: the count 0x3FB becomes 0x004
  EXPECT_EQ(r.reg(kTimerLow), 4);
  EXPECT_EQ(r.reg(kTimerMiddle), 0);
  EXPECT_EQ(r.reg(kTimerHigh), 0);
  step(4);  // 0: the end request
  EXPECT_EQ(r.reg(kTimerRequests), 2);
  step(6);
  EXPECT_EQ(r.reg(kTimerRequests), 2);
  step(1);  // 0x3F9: the value is unchanged
  EXPECT_EQ(r.reg(kTimerRequests), 3);
}

TEST_F(Registers, EepromBusyTimesRequestAndContentAcrossAReset) {
  write(kPrescalerEnables, 1);
  write(kEepromAddress, 3);
  write(kEepromDataLow, 5);
  write(kEepromDataHigh, 0xA);
  write(kEepromControl, 2 | 1);  // write 0xA5 at 0x13
  EXPECT_EQ(r.reg(kEepromControl), 7);
  step(12119);
  EXPECT_EQ(r.reg(kEepromControl), 7);
  step(1);
  EXPECT_EQ(r.reg(kEepromControl), 1);
  EXPECT_EQ(r.reg(kPrescalerRequests), 1);
  r.reset();
  write(kEepromAddress, 3);
  write(kEepromControl, 1);  // read
  EXPECT_EQ(r.reg(kEepromControl), 9);
  EXPECT_EQ(r.reg(kEepromDataLow), 5);
  EXPECT_EQ(r.reg(kEepromDataHigh), 0xA);
  step(11);
  EXPECT_EQ(r.reg(kEepromControl), 9);
  step(1);
  EXPECT_EQ(r.reg(kEepromControl), 1);
  EXPECT_EQ(r.reg(kPrescalerRequests), 0);
}

TEST_F(Registers, ResetCombinationBySinglePinOrDisabled) {
  write(50, 9);
  write(kResetSelect, 1);  // PA0 low matches; the other pins never do
  step(1);
  EXPECT_EQ(r.reg(50), 9);    // all four are needed
  write(kClockAdjustLow, 2);  // any single pin
  step(1);
  EXPECT_EQ(r.reg(50), 0);
  write(50, 9);
  write(kResetSelect, 15);
  write(kClockAdjustLow, 1);  // off
  step(1);
  EXPECT_EQ(r.reg(50), 9);
}

TEST_F(Registers, AHaltedPassSetsTheInterruptEnable) {
  program({HALT, JMP(1)});
  write(kPrescalerEnables, 2);  // the first tick raises the 4688 Hz request
  step(1);
  EXPECT_EQ(r[k42::kHalted], 1);
  EXPECT_EQ(r.reg(kInterruptControl), 0);  // not by HALT itself
  step(1);
  EXPECT_EQ(r.reg(kInterruptControl), 8);
  step(1);
  EXPECT_EQ(r.pc(), 1);
  EXPECT_EQ(r[k42::kHalted], 0);
}

TEST_F(Registers, DetectorComparesWithTheSupplyOfTheModulesLoad) {
  write(kTimerEnables, 4);
  write(kLevelDetector, 4);  // start, level 2.50 V
  step(512);                 // started at tick 1, evaluated at tick 513
  EXPECT_EQ(r.reg(kLevelDetector), 4);
  step(1);
  EXPECT_EQ(r.reg(kLevelDetector), 0);  // 5.00 V is above: bits 1-3 cleared
  EXPECT_EQ(r.reg(kTimerRequests), 4);
}

}  // namespace
}  // namespace qv4131test
