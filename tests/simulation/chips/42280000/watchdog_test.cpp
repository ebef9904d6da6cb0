// The watchdog resets the chip at its fourth 1 Hz step (tick 65536 after a
// reset) unless the program clears it with 65 := 9 or switches it off.
#include "qv4128_client.h"
#include "layout.h"

namespace qv4128test {
namespace {

class Watchdog : public Qv4128 {
 protected:
  void SetUp() override {
    Qv4128::SetUp();
    startMarkedLoop([](Records& records) {
      records.registers[40].value = 0x3A;
      records.registers[40].flags = 0x05;
    });
  }
};

TEST_F(Watchdog, ResetsAtTheFourthOneHzStepKeepingCompareValuesAndFlags) {
  stepTo(4 * kOneSecond - 1);
  ASSERT_FALSE(wasReset());
  EXPECT_EQ(r.pc(), 6);
  stepTo(4 * kOneSecond);
  ASSERT_TRUE(wasReset());
  // The CPU restarted at 0 in that round, which then executed the JMP 4.
  EXPECT_EQ(r.pc(), 4);
  EXPECT_EQ(r[k42::kAcc], 0);
  EXPECT_EQ(r.registers[10].value, 0x70);
  EXPECT_EQ(r.registers[10].flags, 0x12);
  EXPECT_EQ(r.registers[40].value, 0x30);
  EXPECT_EQ(r.registers[40].flags, 0x05);
  // The reset ended the tick; the readout shows stage 14 = 1.
  EXPECT_EQ(r.reg(qv4128::L.prescaler.readout.reg), 8);
}

TEST_F(Watchdog, ClearWithNineNamesBitZeroAndSetsIt) {
  stepTo(4 * kOneSecond - 100);  // counter 3
  write(qv4128::L.system.control.reg, 9);
  stepTo(7 * kOneSecond - 1);
  EXPECT_FALSE(wasReset());
  stepTo(7 * kOneSecond);
  EXPECT_TRUE(wasReset());
}

TEST_F(Watchdog, WritingOneDoesNotClearIt) {
  stepTo(4 * kOneSecond - 100);
  write(qv4128::L.system.control.reg, 1);
  stepTo(4 * kOneSecond);
  EXPECT_TRUE(wasReset());
}

TEST_F(Watchdog, ClearedByTheProgramPostponesTheReset) {
  // The loop clears the watchdog every pass: 6: LDI 9  7: STA 65  8: JMP 6
  r.program[6].instr = LDI(9);
  r.program[7].instr = STA(65);
  r.program[8].instr = JMP(6);
  stepTo(10 * kOneSecond);
  EXPECT_FALSE(wasReset());
}

TEST_F(Watchdog, OptionBitTwoSwitchesItOffAndClearsTheCounter) {
  stepTo(3 * kOneSecond + 10);  // counter 3
  write(qv4128::L.system.options.reg, 4);
  stepTo(6 * kOneSecond);
  EXPECT_FALSE(wasReset());
  write(qv4128::L.system.options.reg, 0);  // on again, from 0
  stepTo(10 * kOneSecond - 1);
  EXPECT_FALSE(wasReset());
  stepTo(10 * kOneSecond);
  EXPECT_TRUE(wasReset());
}

}  // namespace
}  // namespace qv4128test
