// QV4116's periphery through programs and register writes in the module:
// the LCD registers and the display library, the chain, the supply detector
// and the comparator, the watchdog, port B's toggles, the millisecond
// counter and the reset.
#include <platform/messagebox.h>

#include "qv4116_fixture.h"

namespace qv4116test {
namespace {

TEST_F(Qv4116, LcdRegistersSendOnlyChangesAndTheModeRegisterBoth) {
  openWindow();
  takeLog();
  write(64, 5);
  write(64, 5);   // unchanged: nothing
  write(71, 9);
  write(75, 9);   // not present
  write(114, 2);  // on, multiplex 15
  write(114, 2);
  write(114, 4);  // off, multiplex 7
  EXPECT_EQ(takeLog(), (Lines{"SetSegment 0 5 1", "SetSegment 7 9 1", "SetLCDstatus 1", "SetLCDMUX 15",
                              "SetLCDstatus 0", "SetLCDMUX 7"}));
  EXPECT_EQ(r.reg(64), 5);
  EXPECT_EQ(r.reg(75), 0);
  EXPECT_EQ(read(75), 0);
}

class WithoutModeFunctions : public Qv4116 {
  void SetUp() override { bindLcd("QV4116", "42160000", "no_status_mux"); }
};

TEST_F(WithoutModeFunctions, EveryChangedModeWriteReportsBothWithTheModulesName) {
  openWindow();
  MessageLog log;
  write(114, 2);
  write(114, 2);
  write(114, 0);
  const Lines once = modeErrors();
  Lines twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(log.texts(), twice);
}

// Every reset (Instruction_Reset and the watchdog's) clears the glass it
// drew and turns the display off: eight segments, status, multiplex.
TEST_F(Qv4116, EveryResetClearsTheGlassAndPostsTheBoxesInOrder) {
  openWindow();
  const Lines glass = {"SetSegment 0 0 1", "SetSegment 1 0 1", "SetSegment 2 0 1", "SetSegment 3 0 1",
                       "SetSegment 4 0 1", "SetSegment 5 0 1", "SetSegment 6 0 1", "SetSegment 7 0 1",
                       "SetLCDstatus 0",   "SetLCDMUX 15"};
  takeLog();
  r.reset();
  EXPECT_EQ(takeLog(), glass);
  write(64, 3);
  write(114, 2);
  takeLog();
  recordRedraws();
  runFor(3 * kOneSecond);  // the watchdog's reset at the third second
  EXPECT_EQ(takeLog(), glass);
  const Redraws expected = {{0, 1035}, {1, 1081}, {2, 255}, {3, 255}, {4, 255},
                            {5, 255},  {6, 1023}, {7, 255}, {8, 255}, {9, 255}};
  EXPECT_EQ(takeRedraws(), expected);
  EXPECT_EQ(r.reg(64), 0);
  EXPECT_EQ(r.reg(114), 14);
  write(64, 0);  // the glass shows 0 already: nothing to send
  EXPECT_EQ(takeLog(), Lines{});
}

TEST_F(Qv4116, ResetTableKeepsCompareValuesFlagsAndTheConditionInputs) {
  fillRegisters();
  r[k42::kCond1] = 1;
  r[k42::kCond3] = 1;
  r.reset();
  expectFilledRegisters([](int n) { return n == 108 ? 8 : n == 114 ? 14 : n == 127 ? 15 : 0; });
  EXPECT_EQ(r[k42::kCond1], 1);
  EXPECT_EQ(r[k42::kCond3], 1);
}

TEST_F(Qv4116, BlinkComesAQuarterSecondBeforeEachOneHertzRequest) {
  write(102, 10);
  runFor(12287);
  EXPECT_EQ(r.reg(105), 0);
  runFor(1);
  EXPECT_EQ(r.reg(105), 2);
  runFor(4095);
  EXPECT_EQ(r.reg(105), 2);
  runFor(1);
  EXPECT_EQ(r.reg(105), 10);
  write(105, 15);
  runFor(kOneSecond - 1);
  EXPECT_EQ(r.reg(105), 2);  // the next blink, no 1 Hz yet
  runFor(1);
  EXPECT_EQ(r.reg(105), 10);
  // A restart reads back without bit 2 and delays the next second.
  write(105, 15);
  write(109, 4 | 2);
  EXPECT_EQ(read(109), 2);
  runFor(kOneSecond - 2);
  EXPECT_EQ(r.reg(105) & 8, 0);
}

TEST_F(Qv4116, SupplyDetectorResultAndItsRequestTakingTheMask) {
  openWindow();
  setSupply(200);
  write(103, 8);
  write(115, 4 | 1);
  runFor(24);
  EXPECT_EQ(r.reg(115), 8 | 1);
  EXPECT_EQ(r.reg(106), 8);
  setSupply(201);
  write(115, 4);
  runFor(24);
  EXPECT_EQ(r.reg(115), 0);
  EXPECT_EQ(r.reg(106), 8);  // every result requests while the mask is set
  write(103, 0);
  write(115, 4);
  runFor(24);
  EXPECT_EQ(r.reg(106), 0);  // the mask clear: the pending bit is cleared
  drain();
  EXPECT_FALSE(lit(1100));
}

TEST_F(Qv4116, ComparatorOnPb0RequestsOnEveryChangeAndClearsItsStatusWhenRising) {
  openWindow();
  setSupply(300);
  write(102, 1);
  write(83, 1);
  runFor(8);
  EXPECT_EQ(r.reg(105), 0);
  setSupply(150);
  runFor(8);
  EXPECT_EQ(r.reg(105), 1);
  drain();
  EXPECT_TRUE(lit(1102));   // PB0 selected
  EXPECT_FALSE(lit(1098));  // VDD not
  EXPECT_TRUE(lit(1104));   // the result
  write(105, 1);
  r.registers[83].value |= 0xC;
  setSupply(250);
  runFor(8);
  EXPECT_EQ(r.reg(105), 1);
  EXPECT_EQ(r.reg(83), 1);  // the falling result clears bits 2-3
  drain();
  EXPECT_FALSE(lit(1104));
}

TEST_F(Qv4116, WatchdogClearedByEveryWriteOfBit3) {
  startMarkedLoop();
  runFor(2 * kOneSecond);
  write(108, 8);
  runFor(2 * kOneSecond);
  write(108, 8);  // the same value clears it again
  runFor(2 * kOneSecond);
  EXPECT_FALSE(wasReset());
  runFor(kOneSecond);
  EXPECT_TRUE(wasReset());
}

TEST_F(Qv4116, ToggleZeroEveryPassAndTheReservedPinKeepsItsLevel) {
  write(81, 1);
  write(123, 2);
  step(1);
  const int first = read(82) & 1;  // two more passes
  step(1);
  EXPECT_NE(read(82) & 1, first);
  write(123, 1);  // reserved, no toggle
  const int level = r.reg(82) & 1;
  step(5);
  write(82, level ^ 1);
  EXPECT_EQ(read(82) & 1, level);
}

TEST_F(Qv4116, HaltedPassEnablesInterruptsThroughTheRegisterWrite) {
  program({HALT, JMP(1)});
  step(1);
  ASSERT_EQ(r[k42::kHalted], 1);
  r[k42::kDataBreakEnable] = 1;
  r.registers[107].value = 0x80;  // compare value 8
  r.registers[107].flags = k42::kBreakOnWrite | 2;  // equal
  platform::RunPump::SetScriptAtRound(100, [] { Stdk::Get().Instruction_Break(k42::kStopStep); });
  EXPECT_EQ(r.execute(k42::kRunModeRun), k42::kStopDataBreak);
  EXPECT_EQ(r.reg(107), 8);
  EXPECT_EQ(r[k42::kDataBreakHit], 1);
}

TEST_F(Qv4116, TimerLoadTurnsTheCompareOffAndALoadOfZeroStops) {
  write(103, 3);
  write(91, 1 | 8);  // 16 kHz, up
  write(93, 4);
  write(92, 8 | 2 | 1);
  EXPECT_EQ(read(92), 8);  // load: bits 0-1 cleared
  EXPECT_EQ(read(93), 7);  // three steps from 4 at the second read's load
  write(92, 8 | 2);        // the compare on again
  write(93, 0);
  write(92, 8 | 2 | 1);    // a load of 0: stopped
  EXPECT_EQ(read(92), 0);
}

TEST_F(Qv4116, MillisecondCounterStartsWhateverThePortBitsHold) {
  write(96, 14);
  runFor(16);
  EXPECT_EQ(r.reg(98), 0);
  runFor(1);
  EXPECT_EQ(r.reg(98), 1);
  write(97, 0);
  r.registers[97].value |= 1;  // overflow
  write(96, 1 | 14);            // clear: the digits and the overflow
  runFor(1);
  EXPECT_EQ(r.reg(98), 0);
  EXPECT_EQ(r.reg(97), 0);
}

}  // namespace
}  // namespace qv4116test
