// The QV4117 family's periphery through the module: the millisecond
// counter, the chain's requests, the supply detector's level, register 70
// and the display calls, the reset and the watchdog.
#include <platform/messagebox.h>

#include "qv4117_fixture.h"

namespace qv4117test {
namespace {

TEST_P(Family, MillisecondCounterCountsCarriesRequestsAndOverflows) {
  write(103, 4);
  write(96, 8);
  runFor(16);
  EXPECT_EQ(count(), 0);
  runFor(1);
  EXPECT_EQ(count(), 1);  // 17 steps after the start
  runFor(1683);
  EXPECT_EQ(count(), 100);
  EXPECT_EQ(r.reg(106), 4);  // the 0.1 s carry
  write(106, 4);
  write(97, 2);  // every second instead
  runFor(1700);
  EXPECT_EQ(count(), 200);
  EXPECT_EQ(r.reg(106), 0);
  write(98, 9);
  write(99, 9);
  write(100, 9);
  runFor(17);
  EXPECT_EQ(count(), 0);
  EXPECT_EQ(r.reg(106), 4);  // the 1 s carry
  EXPECT_EQ(r.reg(97), 3);   // overflow
  EXPECT_EQ(read(97), 3);
  EXPECT_EQ(r.reg(97), 2);   // a read clears it
  // A digit written above 9 carries at its next count.
  write(98, 12);
  runFor(17);
  EXPECT_EQ(r.reg(98), 0);
  EXPECT_EQ(r.reg(99), 1);
  // Stopping keeps the count; with the port bits set a start is refused.
  write(96, 0);
  runFor(100);
  EXPECT_EQ(count(), 10);
  write(96, 8 | 2);
  runFor(100);
  EXPECT_EQ(count(), 10);
}

TEST_P(Family, ClearRequestZeroesAtTheNextStepAndTheOverflowByChip) {
  write(96, 8);
  write(98, 9);
  write(99, 9);
  write(100, 9);
  runFor(17);
  ASSERT_EQ(r.reg(97) & 1, 1);
  write(98, 5);
  write(96, 8 | 1);
  EXPECT_EQ(read(96), 8);  // the clear bit is not stored; the read is two steps
  EXPECT_EQ(r.reg(98), 0);
  EXPECT_EQ(r.reg(97) & 1, GetParam().clearTakesOverflow ? 0 : 1);
}

TEST_P(Family, ZeroPointOneSecondCarryPostsTheChipsParts) {
  openWindow();
  write(96, 8);
  write(99, 9);
  recordRedraws();
  runFor(10 * 17);
  const Redraws posts = takeRedraws();
  ASSERT_FALSE(posts.empty());
  EXPECT_EQ(posts.front(), (std::pair<int, intptr_t>{8, GetParam().tenthParts}));
}

TEST_P(Family, ChainRequestsAtOneStepPerInstruction) {
  write(102, 4 | 2 | 8);
  write(109, 2);  // 32 Hz: every 512 steps
  runFor(511);
  EXPECT_EQ(r.reg(105), 0);
  runFor(1);
  EXPECT_EQ(r.reg(105), 4);
  write(105, 15);
  write(102, 2 | 8);
  runFor(kOneSecond - 512);
  EXPECT_EQ(r.reg(105), 8);  // 1 Hz; the blink comes every other second
  write(105, 15);
  runFor(kOneSecond);
  EXPECT_EQ(r.reg(105), 10);
}

TEST_P(Family, SupplyDetectorLevelChosenByRegister116) {
  openWindow();
  EXPECT_EQ(text(1045), "5.00V");
  setSupply(400);
  write(115, 4 | 3);
  runFor(64);
  EXPECT_EQ(r.reg(115), 8 | 3);  // at the 4.00 V level: low; bit 2 cleared
  setSupply(401);
  write(115, 4 | 2);
  runFor(64);
  EXPECT_EQ(r.reg(115), 2);
  setSupply(120);
  write(116, 7);  // 1.20 V
  write(115, 4);
  runFor(64);
  EXPECT_EQ(r.reg(115), 8);
  EXPECT_EQ(r.reg(97), 0);  // the millisecond status is not the detector's
}

TEST_P(Family, ThreeLcdBanksAndTheModeWhateverRegister113Holds) {
  openWindow();
  takeLog();
  write(112, 8);
  write(70, 5);  // bank 2 has addresses 0-7 only
  EXPECT_EQ(r.reg(70), 0);
  write(112, 3);
  write(70, 6);
  write(68, 2);
  write(69, 4);
  write(112, 9);
  EXPECT_EQ(r.reg(68), 0);
  EXPECT_EQ(r.reg(70), 6);  // kept at addresses 8-15
  write(112, 3);
  EXPECT_EQ(r.reg(68), 2);
  EXPECT_EQ(r.reg(69), 4);
  EXPECT_EQ(r.reg(70), 6);
  write(113, 3);
  write(114, 6);
  write(68, 7);
  EXPECT_EQ(takeLog(), (Lines{"SetSegment 35 6 1", "SetSegment 3 2 1", "SetSegment 19 4 1", "SetLCDstatus 0",
                              "SetLCDMUX 15", "SetSegment 3 7 1"}));
  r.reset();
  const Lines glass = takeLog();
  ASSERT_EQ(glass.size(), 40u);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(glass[i], "SetSegment " + std::to_string(i) + " 0 1");
}

TEST_P(Family, InstructionResetClearsEveryValueButTheModeRegister) {
  fillRegisters();
  r.reset();
  expectFilledRegisters([](int n) { return n == 114 ? 14 : 0; });
  write(108, 8);
  EXPECT_EQ(read(108), 0);  // not stored
}

TEST_P(Family, WatchdogResetAtTheThirdSecondKeepsTheIndexRegisters) {
  startMarkedLoop();
  runFor(2 * kOneSecond);
  write(108, 8);
  runFor(2 * kOneSecond);
  EXPECT_FALSE(wasReset());
  // Every register set that does not start an interrupt, a reset or switch
  // the watchdog off (80 is sampled when the run starts).
  const auto quiet = [](int n) { return n != 80 && (n < 101 || n > 107) && n != 115 && n != 124 && n != 125; };
  for (int n = 64; n < 128; ++n)
    if (quiet(n)) r.registers[n].value |= 15;
  runFor(kOneSecond);
  ASSERT_TRUE(wasReset());
  for (int n = 64; n < 128; ++n) {
    const int expected = !quiet(n) ? 0 : n == 110 || n == 111 ? 15 : n == 97 || n == 116 ? 8 : 0;
    EXPECT_EQ(r.reg(n), expected) << n;
  }
}

INSTANTIATE_TEST_SUITE_P(Chips, Family, ::testing::Values(kQv4117, kQv4118), ChipName);

class WithoutModeFunctions : public LcdChipTest {
  void SetUp() override { bindLcd("QV4117", "42170000", "no_status_mux"); }
};

TEST_F(WithoutModeFunctions, EveryChangedModeWriteReportsBothWithTheModulesName) {
  openWindow();
  MessageLog log;
  write(113, 1);
  write(114, 2);
  write(114, 2);
  EXPECT_EQ(log.texts(), modeErrors());
}

}  // namespace
}  // namespace qv4117test
