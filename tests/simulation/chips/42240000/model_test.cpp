// QV4124's periphery through programs run in the module: the time base at
// two clock indexes, RAM 2 paging, the EEPROM, the supply detector and the
// reset table.
#include <platform/dialog.h>
#include <platform/dialog_items.h>
#include <platform/window.h>

#include "qv4124_client.h"
#include "qv4124/layout.h"

namespace qv4124test {
namespace {

// Runs `instructions` passes in run mode: a break at the last one.
void RunFor(Records& r, int64_t instructions) {
  platform::RunPump::SetScriptAtRound(static_cast<uint64_t>(instructions - 1),
                                      [] { Stdk::Get().Instruction_Break(16); });
  r.execute(k42::kRunModeRun);
  platform::RunPump::SetScript({});
}

TEST_F(Qv4124, OneHertzRequestAtClockIndexZeroAfter16384Instructions) {
  write(L.irq.timeEnables.reg, 8);
  RunFor(r, 16383);
  EXPECT_EQ(r.reg(L.irq.timeRequests.reg) & 8, 0);
  RunFor(r, 1);
  EXPECT_EQ(r.reg(L.irq.timeRequests.reg) & 8, 8);
  EXPECT_EQ(read(L.irq.timeRequests.reg), 8);
  EXPECT_EQ(read(L.irq.timeRequests.reg), 0);  // read clears
}

TEST_F(Qv4124, OneHertzRequestAtClockIndexFourAfter262144Instructions) {
  openWindow();
  click(1133);  // 512kHz
  write(L.clock.select.reg, 8);
  write(L.irq.timeEnables.reg, 8);
  RunFor(r, 262143);
  EXPECT_EQ(r.reg(L.irq.timeRequests.reg) & 8, 0);
  RunFor(r, 1);
  EXPECT_EQ(r.reg(L.irq.timeRequests.reg) & 8, 8);
}

TEST_F(Qv4124, PrescalerRequestAt32Or8HzAndRestartDelaysOneHertz) {
  write(L.irq.timeEnables.reg, 4);
  write(L.prescaler.control.reg, 2);  // 32 Hz: 1024 base ticks
  RunFor(r, 511);
  EXPECT_EQ(r.reg(L.irq.timeRequests.reg), 0);
  RunFor(r, 1);
  EXPECT_EQ(r.reg(L.irq.timeRequests.reg), 4);
  write(L.irq.timeRequests.reg, 4);
  write(L.prescaler.control.reg, 0);  // 8 Hz: the next one at 4096 base ticks
  RunFor(r, 2047 - 512);
  EXPECT_EQ(r.reg(L.irq.timeRequests.reg), 0);
  RunFor(r, 1);
  EXPECT_EQ(r.reg(L.irq.timeRequests.reg), 4);

  write(L.irq.timeEnables.reg, 8);
  RunFor(r, 10000 - 2048);
  write(L.prescaler.control.reg, 4);  // restart: the 1 Hz stage starts again
  RunFor(r, 16384 - 10000);
  EXPECT_EQ(r.reg(L.irq.timeRequests.reg) & 8, 0);
  RunFor(r, 10000);
  EXPECT_EQ(r.reg(L.irq.timeRequests.reg) & 8, 8);
}

TEST_F(Qv4124, RequestNeedsItsMaskBit) {
  RunFor(r, 16384);
  EXPECT_EQ(r.reg(L.irq.timeRequests.reg), 0);
}

TEST_F(Qv4124, Ram2PagesAndLcdBanksFollowThePageRegister) {
  write(L.ram2.page.reg, 3);
  for (int i = 0; i < 4; ++i) write(64 + i, i + 1);
  write(L.lcd.bank0.reg, 7);
  write(L.ram2.page.reg, 5);
  EXPECT_EQ(r.reg(L.ram2.window.reg), 0);
  EXPECT_EQ(r.reg(L.lcd.bank0.reg), 0);
  write(L.ram2.window.reg, 9);
  write(L.lcd.bank1.reg, 2);
  write(L.ram2.page.reg, 3);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(r.reg(L.ram2.window.reg + i), i + 1);
  EXPECT_EQ(r.reg(L.lcd.bank0.reg), 7);
  write(L.ram2.page.reg, 5);
  EXPECT_EQ(r.reg(L.ram2.window.reg), 9);
  EXPECT_EQ(r.reg(L.lcd.bank1.reg), 2);
}

TEST_F(Qv4124, EepromWriteIsBusy520BaseTicksThenRequestsAndReadsBack) {
  openWindow();
  write(L.eeprom.address.reg, 5);
  write(L.eeprom.low.reg, 0xA);
  write(L.eeprom.high.reg, 0x3);
  write(L.irq.unitEnables.reg, 4);
  write(L.eeprom.control.reg, 7);
  EXPECT_EQ(r.reg(L.eeprom.control.reg) & 2, 2);
  RunFor(r, 259);  // two base ticks per instruction
  EXPECT_EQ(r.reg(L.eeprom.control.reg) & 2, 2);
  EXPECT_EQ(r.reg(L.irq.unitRequests.reg), 0);
  RunFor(r, 1);
  EXPECT_EQ(r.reg(L.eeprom.control.reg) & 2, 0);
  EXPECT_EQ(r.reg(L.irq.unitRequests.reg), 4);
  write(L.eeprom.low.reg, 0);
  write(L.eeprom.high.reg, 0);
  write(L.eeprom.control.reg, 2);  // read: 24 base ticks, no request
  EXPECT_EQ(r.reg(L.eeprom.low.reg), 0xA);
  EXPECT_EQ(r.reg(L.eeprom.high.reg), 0x3);
  write(L.irq.unitRequests.reg, 15);
  RunFor(r, 12);
  EXPECT_EQ(r.reg(L.eeprom.control.reg) & 2, 0);
  EXPECT_EQ(r.reg(L.irq.unitRequests.reg), 0);
  const std::string list = text(1136);
  EXPECT_EQ(list, "00  00\n01  00\n02  00\n03  00\n04  00\n05  3A\n06  00\n07  00");
}

TEST_F(Qv4124, SupplyDetectorAtTheLowLevelDrivesEepromBit2) {
  openWindow();
  write(L.supply.control.reg, 4);
  RunFor(r, 200);
  EXPECT_EQ(r.reg(L.supply.control.reg), 0);      // above 1.38 V
  EXPECT_EQ(r.reg(L.eeprom.control.reg) & 4, 4);  // supply sufficient
  send(platform::WM_VSCROLL, platform::MAKEWPARAM(platform::SB_THUMBTRACK, 300),
       bar(1044));
  EXPECT_EQ(text(1045), "0.60V");
  write(L.supply.control.reg, 4);
  RunFor(r, 200);
  EXPECT_EQ(r.reg(L.supply.control.reg), 8);
  EXPECT_EQ(r.reg(L.eeprom.control.reg) & 4, 0);
  write(L.supply.control.reg, 6);  // the 2.50 V level leaves 97 alone
  RunFor(r, 200);
  EXPECT_EQ(r.reg(L.supply.control.reg), 10);
  EXPECT_EQ(r.reg(L.eeprom.control.reg) & 4, 0);
}

TEST_F(Qv4124, SimpleRegisterRules) {
  write(111, 15);
  EXPECT_EQ(r[k42::kIndex] >> 4, 7);
  write(L.power.sleepWatchdog.reg, 8);
  EXPECT_EQ(r.reg(L.power.sleepWatchdog.reg), 8);
  write(L.portA.requests.reg, 0);
  EXPECT_EQ(read(L.portA.requests.reg), 0);
}

TEST_F(Qv4124, ResetTableForBothKindsKeepsCompareValuesAndFlags) {
  openWindow();
  auto fill = [&] {
    for (int n = 64; n < 128; ++n) r.registers[n] = RegisterCell{0x5F, 0x1B};
  };
  //                          64  ...                                                             127
  const int powerOn[64] = {15, 15, 15, 15, 0, 0, 15, 0, 0, 0, 0, 6, 6, 12, 0, 0,       // 64-79
                           15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,            // 80-95
                           0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 15, 15,           // 96-111
                           0, 0, 15, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};           // 112-127
  int resetPin[64];
  std::copy(std::begin(powerOn), std::end(powerOn), resetPin);
  for (int n : {77, 78, 79, 96, 113}) resetPin[n - 64] = 15;
  resetPin[108 - 64] = 4;
  resetPin[114 - 64] = 15;
  fill();
  r.reset();
  for (int n = 64; n < 128; ++n) {
    EXPECT_EQ(r.reg(n), powerOn[n - 64]) << "power-on, register " << n;
    EXPECT_EQ(r.registers[n].value & 0xF0, 0x50) << n;
    EXPECT_EQ(r.registers[n].flags, 0x1B) << n;
  }
  fill();
  r[0] = 9;
  r[14] = 1;
  click(1043);  // RESET
  for (int n = 64; n < 128; ++n) {
    EXPECT_EQ(r.reg(n), resetPin[n - 64]) << "RESET, register " << n;
    EXPECT_EQ(r.registers[n].flags, 0x1B) << n;
  }
  EXPECT_EQ(r[0], 0);
  EXPECT_EQ(r[14], 0);
}

TEST_F(Qv4124, TimerAt16KilohertzRequestsEndAndCompareWithinItsWidth) {
  write(L.irq.unitEnables.reg, 3);    // compare and end requests
  write(L.timer.control.reg, 1 | 8);  // 16 kHz (one count per instruction), up
  write(L.timer.low.reg, 0xC);
  write(L.timer.high.reg, 4);             // 8 bits wide
  write(L.timer.command.reg, 8 | 2 | 1);  // run, compare, load 0x00C
  RunFor(r, 242);
  EXPECT_EQ(r.reg(L.irq.unitRequests.reg), 0);
  RunFor(r, 1);  // 0x0FF: the end of 8 bits
  EXPECT_EQ(r.reg(L.irq.unitRequests.reg), 2);
  RunFor(r, 12);
  EXPECT_EQ(r.reg(L.irq.unitRequests.reg), 2);
  RunFor(r, 1);  // 0x10C: the compare of 8 bits
  EXPECT_EQ(r.reg(L.irq.unitRequests.reg), 3);
  // Each read is two more passes; the count is read after the first one.
  EXPECT_EQ(read(L.timer.low.reg), 0xD);     // 0x10D
  EXPECT_EQ(read(L.timer.middle.reg), 0x0);  // 0x10F
  EXPECT_EQ(read(L.timer.high.reg), 0x5);    // 0x111, width code 1

  // Counting down in full width from 2: the end at 0, no compare until the
  // count comes round to 2 again.
  write(L.irq.unitRequests.reg, 3);  // ones clear
  write(L.timer.control.reg, 1);
  write(L.timer.high.reg, 0);
  write(L.timer.low.reg, 2);
  write(L.timer.middle.reg, 0);
  write(L.timer.command.reg, 8 | 2 | 1);
  RunFor(r, 2);
  EXPECT_EQ(r.reg(L.irq.unitRequests.reg), 2);
  RunFor(r, 1021);
  EXPECT_EQ(r.reg(L.irq.unitRequests.reg), 2);
  RunFor(r, 1);
  EXPECT_EQ(r.reg(L.irq.unitRequests.reg), 3);
}

TEST_F(Qv4124, WatchdogResetsAtTheFifthSecondUnlessOff) {
  r.registers[L.lcd.mode.reg].value = 0;
  RunFor(r, 81919);
  EXPECT_EQ(r.reg(L.lcd.mode.reg), 0);
  RunFor(r, 1);
  EXPECT_EQ(r.reg(L.lcd.mode.reg), 15);  // the power-on reset
  write(L.supply.control.reg, 1);        // watchdog off
  r.registers[L.lcd.mode.reg].value = 0;
  RunFor(r, 16384 * 6);
  EXPECT_EQ(r.reg(L.lcd.mode.reg), 0);
}

// The whole road: a source assembled by K42xxasm, run in the module bound
// by name; the 1 Hz interrupt enable stored and read back.
TEST_F(Qv4124, AnAssembledSourceRunsInTheModule) { runWholeRoad(qv4124::kQv4124.irq.timeEnables.reg, 8); }

}  // namespace
}  // namespace qv4124test
