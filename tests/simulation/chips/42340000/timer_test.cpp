// The 10-bit timer: compare and end matches on the low bits of the compare
// width, the full compare that stops it, the start refusal, the mirrored
// registers on a direction change, PWM pins, and its inputs.
#include "qv4234_client.h"
#include "layout.h"

namespace qv4234test {
namespace {

class Timer : public Qv4234 {
 protected:
  // Up, 16 kHz (one step per round), width 4, value 2, both requests enabled.
  void setUpTimer(int system = 0) {
    write(qv4234::L.timer.mode.reg, 8 | 1);
    write(qv4234::L.timer.value2.reg, 0xC);
    write(qv4234::L.timer.value0.reg, 2);
    write(qv4234::L.timer.value1.reg, 0);
    write(qv4234::L.irq.enables1.reg, 0xC);
    write(qv4234::L.control.system.reg, system);
    write(qv4234::L.timer.control.reg, 8 | 2 | 1);  // run, compare enable, load
  }
  int counter() const { return r.reg(qv4234::L.timer.value0.reg) | r.reg(qv4234::L.timer.value1.reg) << 4 | (r.reg(qv4234::L.timer.value2.reg) & 3) << 8; }
};

// Without a pump script the pump looks in only every few thousand rounds:
// the count the program reads and the count shown after the run are still
// those of their round.
TEST_F(Timer, TheProgramReadsTheCountOfItsRound) {
  std::vector<uint16_t> words(20, NOP);
  words.insert(words.end(), {LDR(qv4234::L.timer.value0.reg), STA(40), LDR(qv4234::L.timer.value1.reg), STA(41),
                             LDI(0xC), STA(qv4234::L.timer.value2.reg), JMP(26)});
  program(words);
  r[k42::kProgBreakEnable] = 1;
  r.program[26].flags = k42::kCellBreakpoint;
  setUpTimer();
  EXPECT_EQ(r.execute(k42::kRunModeRun), k42::kStopProgBreak);
  EXPECT_EQ(r.reg(40), 23 & 15);  // value 2, 21 steps
  EXPECT_EQ(r.reg(41), 25 >> 4);
  EXPECT_EQ(counter(), 28);      // the breakpoint stops before round 27
  r.execute(k42::kRunModeStep);
  EXPECT_EQ(counter(), 29);
}

TEST_F(Timer, UpCountRaisesEndAndMaskedCompareMatches) {
  setUpTimer();
  EXPECT_EQ(r.reg(qv4234::L.timer.control.reg), 8 | 4 * 0);  // load and compare bits return to 0
  runRounds(12);
  EXPECT_EQ(counter(), 14);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests1.reg), 0);
  runRounds(1);
  EXPECT_EQ(counter(), 15);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests1.reg), 8);  // end value on the low 4 bits
  runRounds(3);
  EXPECT_EQ(counter(), 18);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests1.reg), 8 | 4);  // 18 matches 2 on 4 bits
  EXPECT_EQ(read(qv4234::L.irq.requests1.reg), 12);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests1.reg), 0);
}

TEST_F(Timer, FullCompareNeedsAllTenBitsAndStopsTheTimer) {
  setUpTimer(2);
  runRounds(1023);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests1.reg) & 4, 0);
  EXPECT_EQ(r.reg(qv4234::L.timer.control.reg) & 8, 8);
  runRounds(1);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests1.reg) & 4, 4);
  EXPECT_EQ(r.reg(qv4234::L.timer.control.reg) & 8, 0);
  EXPECT_EQ(counter(), 2);
  runRounds(20);
  EXPECT_EQ(counter(), 2);
}

TEST_F(Timer, StartIsRefusedOnAMatchedFullCompareWithRegister108Bit3) {
  write(qv4234::L.control.prescaler.reg, 8);
  setUpTimer(2);
  EXPECT_EQ(r.reg(qv4234::L.timer.control.reg) & 8, 0);
  runRounds(5);
  EXPECT_EQ(counter(), 2);
}

TEST_F(Timer, StartValueZeroStopsTheTimer) {
  write(qv4234::L.timer.mode.reg, 9);
  for (int n : {93, 94, 95}) write(n, 0);
  write(qv4234::L.timer.control.reg, 8 | 1);
  EXPECT_EQ(r.reg(qv4234::L.timer.control.reg), 0);
  runRounds(5);
  EXPECT_EQ(counter(), 0);
}

TEST_F(Timer, DirectionChangeInvertsTheValueRegisters) {
  write(qv4234::L.timer.value0.reg, 2);
  write(qv4234::L.timer.value1.reg, 1);
  write(qv4234::L.timer.value2.reg, 0xC);
  write(qv4234::L.timer.mode.reg, 8);
  EXPECT_EQ(r.reg(qv4234::L.timer.value0.reg), 13);
  EXPECT_EQ(r.reg(qv4234::L.timer.value1.reg), 14);
  EXPECT_EQ(r.reg(qv4234::L.timer.value2.reg), 0xF);
  write(qv4234::L.timer.mode.reg, 0);
  EXPECT_EQ(r.reg(qv4234::L.timer.value0.reg), 2);
  EXPECT_EQ(r.reg(qv4234::L.timer.value1.reg), 1);
  EXPECT_EQ(r.reg(qv4234::L.timer.value2.reg), 0xC);
}

TEST_F(Timer, PwmPinGoesHighAtTheEndAndLowAtTheCompareCountingUp) {
  write(qv4234::L.ports.directions.reg, 1);  // PA0 an output
  write(qv4234::L.ports.functions.reg, 1);  // with PWM
  setUpTimer();
  EXPECT_EQ(r.reg(qv4234::L.ports.portA.reg) & 1, 0);
  runRounds(13);
  EXPECT_EQ(r.reg(qv4234::L.ports.portA.reg) & 1, 1);
  runRounds(3);
  EXPECT_EQ(r.reg(qv4234::L.ports.portA.reg) & 1, 0);
  EXPECT_EQ(text(kPinButton), "PWM");
}

TEST_F(Timer, PwmReversedCountingDown) {
  write(qv4234::L.ports.directions.reg, 1);
  write(qv4234::L.ports.functions.reg, 1);
  write(qv4234::L.timer.mode.reg, 1);          // down, 16 kHz
  write(qv4234::L.timer.value2.reg, 0xC);
  write(qv4234::L.timer.value0.reg, 2);
  write(qv4234::L.timer.control.reg, 8 | 2 | 1);  // down from 2: the end value 0 after 2 steps
  runRounds(2);
  EXPECT_EQ(r.reg(qv4234::L.ports.portA.reg) & 1, 0);
  runRounds(2);  // 0x3FE: low bits 14; compare at ...2 after 16 steps
  runRounds(12);
  EXPECT_EQ(counter(), 0x3F2);
  EXPECT_EQ(r.reg(qv4234::L.ports.portA.reg) & 1, 1);
}

// The 16 kHz input behind the tick divider: a step every fourth round, then
// every round; the end and compare requests come in the round of their step
// also deep inside a long run.
TEST_F(Timer, SixteenKilohertzInputFollowsTheTickDivider) {
  write(qv4234::L.control.tickDivider.reg, 2);  // a tick every 4 rounds
  write(qv4234::L.timer.mode.reg, 8 | 1);
  write(qv4234::L.timer.value2.reg, 3);  // 0x3FC, 10 bits wide
  write(qv4234::L.timer.value1.reg, 0xF);
  write(qv4234::L.timer.value0.reg, 0xC);
  write(qv4234::L.irq.enables1.reg, 0xC);
  write(qv4234::L.timer.control.reg, 8 | 2 | 1);
  runRounds(11);
  EXPECT_EQ(counter(), 0x3FE);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests1.reg), 0);
  runRounds(1);  // the third tick: the end value
  EXPECT_EQ(counter(), 0x3FF);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests1.reg), 8);
  write(qv4234::L.control.tickDivider.reg, 0);  // a tick every round
  runRounds(2);
  EXPECT_EQ(counter(), 1);
  runRounds(1018);
  EXPECT_EQ(counter(), 0x3FB);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests1.reg), 8);
  runRounds(1);  // back at the value: the compare
  EXPECT_EQ(counter(), 0x3FC);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests1.reg), 8 | 4);
}

// (The direction is set before the value: a change of direction mirrors it.)
TEST_F(Timer, OneHertzInputStepsOncePerSecondOfChipTime) {
  write(qv4234::L.timer.mode.reg, 8 | 6);
  write(qv4234::L.timer.value2.reg, 0);
  write(qv4234::L.timer.value1.reg, 0);
  write(qv4234::L.timer.value0.reg, 5);
  write(qv4234::L.timer.control.reg, 8 | 1);
  runRounds(16383);
  EXPECT_EQ(counter(), 5);
  runRounds(1);
  EXPECT_EQ(counter(), 6);
}

TEST_F(Timer, PinInputCountsTheSelectedEdgeOfPa0) {
  write(qv4234::L.timer.mode.reg, 8 | 0);
  write(qv4234::L.timer.value2.reg, 0);
  write(qv4234::L.timer.value1.reg, 0);
  write(qv4234::L.timer.value0.reg, 5);
  write(qv4234::L.timer.control.reg, 8 | 1);
  click(kPinButton);       // rising: counted (82 bit 1 = 0)
  click(kPinButton);       // falling: not counted
  EXPECT_EQ(counter(), 6);
  write(qv4234::L.ports.edges.reg, 2);
  click(kPinButton);
  click(kPinButton);
  EXPECT_EQ(counter(), 7);
}

TEST_F(Timer, DoubleStepOptionStepsTwicePerEvent) {
  ASSERT_EQ(Stdk::Get().SetControllerOptions("0,0,0,2"), 0);
  r.reset();
  write(qv4234::L.timer.mode.reg, 9);
  write(qv4234::L.timer.value2.reg, 0);
  write(qv4234::L.timer.value1.reg, 0);
  write(qv4234::L.timer.value0.reg, 5);
  write(qv4234::L.timer.control.reg, 8 | 1);
  runRounds(3);
  EXPECT_EQ(counter(), 11);
}

TEST_F(Timer, RcClockStepsTheTimerByTheDividerOnTheInstructionClock) {
  write(qv4234::L.control.clockOptions.reg, 2);   // RC-clock mode
  write(qv4234::L.timer.mode.reg, 8 | 7);
  write(qv4234::L.timer.value2.reg, 0);
  write(qv4234::L.timer.value1.reg, 0);
  write(qv4234::L.timer.value0.reg, 5);
  write(qv4234::L.timer.control.reg, 8 | 1);
  runRounds(10);   // set 0: divider 1
  EXPECT_EQ(counter(), 15);
  write(qv4234::L.ports.edges.reg, 8);    // halved
  runRounds(10);
  EXPECT_EQ(counter(), 20);
}

}  // namespace
}  // namespace qv4234test
