// The run loop of variant 1 in the module: the delay, the sleep that waits
// for events, the status field, and the register pointer kept after a run.
#include <platform/clock.h>
#include <platform/dialog_items.h>

#include <QLineEdit>

#include "qv4124_client.h"

namespace qv4124test {
namespace {

void SetDelay(platform::WindowHandle dialog, const char* text) {
  static_cast<QWidget*>(dialog)->findChild<QLineEdit*>()->setText(text);
}

TEST_F(Qv4124, DelayEditWaitsPerPassAndTakesThreeDigitsAtMost) {
  openWindow();
  auto* edit = static_cast<QWidget*>(dialog())->findChild<QLineEdit*>();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->maxLength(), 3);
  SetDelay(dialog(), "10");
  platform::RunPump::SetScriptAtRound(999, [] { Stdk::Get().Instruction_Break(16); });
  const int64_t start = platform::MonotonicMicros();
  EXPECT_EQ(r.execute(k42::kRunModeRun), 16);
  EXPECT_GE(platform::MonotonicMicros() - start, 10 * 1000);
  EXPECT_EQ(text(1143), "Active");
}

TEST_F(Qv4124, SleepExecutesNothingUntilABreak) {
  openWindow();
  program({LDI(4), STA(L.irq.control.reg), STA(L.power.sleepWatchdog.reg), INC(20), JMP(3)});
  step(3);
  takeLog();
  const int32_t pc = r.pc();
  int rounds = 0;
  platform::RunPump::SetScript([&rounds](uint64_t round) {
    rounds = static_cast<int>(round) + 1;
    if (round == 7) Stdk::Get().Instruction_Break(16);
  });
  EXPECT_EQ(r.execute(k42::kRunModeRun), 16);
  EXPECT_EQ(rounds, 8);
  EXPECT_EQ(r.pc(), pc);
  EXPECT_EQ(r.reg(20), 0);
  EXPECT_EQ(text(1143), "Sleep");
  EXPECT_EQ(takeLog(), std::vector<std::string>{"SetLCDstatus 0"});
}

TEST_F(Qv4124, HaltTicksAndEnablesInterrupts) {
  openWindow();
  program({JMP(3), JMP(1), NOP, LDI(8), STA(L.irq.timeEnables.reg), HALT, JMP(6)});  // vector at 1
  step(4);
  ASSERT_EQ(r[k42::kHalted], 1);
  platform::RunPump::SetScriptAtRound(100, [] { Stdk::Get().Instruction_Break(16); });
  r.execute(k42::kRunModeRun);
  EXPECT_EQ(r.reg(L.irq.control.reg) & 8, 8);
  EXPECT_EQ(text(1143), "Halt");
  // The 1 Hz request wakes it into the interrupt.
  platform::RunPump::SetScriptAtRound(16384, [] { Stdk::Get().Instruction_Break(16); });
  r.execute(k42::kRunModeRun);
  EXPECT_EQ(r[k42::kHalted], 0);
  EXPECT_EQ(r[k42::kInInterrupt], 1);
}

TEST_F(Qv4124, ResetClickedDuringARunRestartsTheProgram) {
  openWindow();
  program({INC(17), STA(17), JMP(2)});
  platform::RunPump::SetScript([this](uint64_t round) {
    if (round == 5) click(1043);  // RESET
    if (round == 9) Stdk::Get().Instruction_Break(16);
  });
  EXPECT_EQ(r.execute(k42::kRunModeRun), 16);
  platform::RunPump::SetScript({});
  EXPECT_EQ(r.reg(17), 2);  // the first instruction ran again
  EXPECT_EQ(r.pc(), 2);
}

TEST_F(Qv4124, PinClickAfterARunChangesThePortRegisterAtOnce) {
  openWindow();
  r.reset();
  step(1);
  click(1081);
  EXPECT_EQ(r.reg(L.portB.data.reg), 1);
}

}  // namespace
}  // namespace qv4124test
