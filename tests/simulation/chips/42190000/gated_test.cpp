// QV4119 and QV4123: the CPU clock gate in front of the periphery step, the
// alternating 1 Hz stage, register 108 stored with sleep, and the
// millisecond clear that differs between the two.
#include "lcd_chip_test.h"

namespace qv4119test {
namespace {

using namespace k42test;

struct Chip {
  const char* controller;
  const char* digits;
  bool clearTakesOverflow;  // QV4123
};

class Gated : public LcdChipTest, public ::testing::WithParamInterface<Chip> {
 protected:
  void SetUp() override { bindLcd(GetParam().controller, GetParam().digits, "full"); }
  int count() const { return r.reg(100) * 100 + r.reg(99) * 10 + r.reg(98); }
  // Resets, starts the millisecond counter and runs until its first count.
  void expectFirstCountAfter(int passes) {
    r.reset();
    write(96, 8);
    runFor(passes - 1);
    EXPECT_EQ(count(), 0) << passes;
    runFor(1);
    EXPECT_EQ(count(), 1) << passes;
  }
};

TEST_P(Gated, ClockSelectorGatesThePeripheryStepAndSurvivesTheReset) {
  openWindow();
  EXPECT_EQ(text(1052), "32 kHz");
  expectFirstCountAfter(17);
  click(1133);
  EXPECT_EQ(text(1052), "128 kHz");
  expectFirstCountAfter(68);  // the first step after the reset at the fourth pass
  click(1132);
  EXPECT_EQ(text(1052), "64 kHz");
  expectFirstCountAfter(34);
  // The time base alone: passes at 32 kHz restart the gate's counters.
  click(1131);
  r.reset();
  write(102, 10);
  const int clicks[][2] = {{1133, 1}, {1131, kOneSecond / 2}, {1133, 2 * kOneSecond - 1}};
  for (const auto& [id, passes] : clicks) {
    click(id);
    runFor(passes);
  }
  EXPECT_EQ(r.reg(105), 0);
  runFor(1);
  EXPECT_EQ(r.reg(105), 2);
}

TEST_P(Gated, BlinkAndOneHertzRequestsAlternateEachEveryTwoSeconds) {
  write(115, 1);  // watchdog off
  write(102, 10);
  runFor(kOneSecond - 1);
  EXPECT_EQ(r.reg(105), 0);
  runFor(1);
  EXPECT_EQ(r.reg(105), 2);
  write(105, 15);
  runFor(kOneSecond);
  EXPECT_EQ(r.reg(105), 8);
  write(105, 15);
  runFor(kOneSecond);
  EXPECT_EQ(r.reg(105), 2);
}

TEST_P(Gated, Register108ClearsTheWatchdogOnlyWhenItChanges) {
  startMarkedLoop();
  runFor(2 * kOneSecond);
  write(108, 8);
  runFor(2 * kOneSecond);
  write(108, 8);  // unchanged: no clear
  runFor(kOneSecond);
  EXPECT_TRUE(wasReset());
  startMarkedLoop();
  runFor(2 * kOneSecond);
  write(108, 0);
  write(108, 8);
  EXPECT_EQ(r.reg(108), 8);
  runFor(2 * kOneSecond);
  EXPECT_FALSE(wasReset());
}

TEST_P(Gated, SleepRunsNothingUntilABreakAndAStepIsOnePass) {
  program({LDI(4), STA(107), STA(108), INC(20), JMP(3)});
  step(3);
  const int32_t pc = r.pc();
  int rounds = 0;
  platform::RunPump::SetScript([&rounds](uint64_t round) {
    rounds = static_cast<int>(round) + 1;
    if (round == 7) Stdk::Get().Instruction_Break(k42::kStopStep);
  });
  EXPECT_EQ(r.execute(k42::kRunModeRun), k42::kStopStep);
  platform::RunPump::SetScript({});
  EXPECT_EQ(rounds, 8);
  EXPECT_EQ(r.pc(), pc);
  EXPECT_EQ(r.reg(20), 0);
  r.execute(k42::kRunModeStep);
  EXPECT_EQ(r.pc(), pc);
  EXPECT_EQ(r.reg(20), 0);
}

TEST_P(Gated, InstructionResetClearsEveryValueButTheModeRegister) {
  fillRegisters();
  r.reset();
  expectFilledRegisters([](int n) { return n == 114 ? 14 : 0; });
}

TEST_P(Gated, ClearRequestTakesTheOverflowOnlyInQv4123) {
  write(96, 8);
  write(98, 9);
  write(99, 9);
  write(100, 9);
  runFor(17);
  ASSERT_EQ(r.reg(97) & 1, 1);
  write(96, 8 | 1);
  runFor(1);
  EXPECT_EQ(count(), 0);
  EXPECT_EQ(r.reg(97) & 1, GetParam().clearTakesOverflow ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Chips, Gated,
                         ::testing::Values(Chip{"QV4119", "42190000", false}, Chip{"QV4123", "42230000", true}),
                         [](const ::testing::TestParamInfo<Chip>& info) { return info.param.controller; });

}  // namespace
}  // namespace qv4119test
