// Register behaviours of QV4128 that are the chip's own: the RAM bank swap,
// the bit set/clear control register and its mirror in 64, write-only and
// read-masked registers, the reset values.
#include "qv4128_client.h"
#include "registers.h"

namespace qv4128test {
namespace {

using Registers = Qv4128;

TEST_F(Registers, BankSwitchedTwiceRestoresValuesAndCompareValuesNeverFlags) {
  for (int n = 0; n < 64; ++n) {
    r.registers[n].value = (n * 7) & 0xFF;
    r.registers[n].flags = 0x10 | (n & 7);
  }
  write(119, 1);
  for (int n = 0; n < 64; ++n) {
    ASSERT_EQ(r.registers[n].value, 0) << n;  // the hidden bank is cleared by reset
    ASSERT_EQ(r.registers[n].flags, 0x10 | (n & 7)) << n;
    r.registers[n].value = 0xA5;
  }
  EXPECT_EQ(read(119), 1);
  write(119, 1);  // no change, no swap
  EXPECT_EQ(r.registers[3].value, 0xA5);
  write(119, 0);
  for (int n = 0; n < 64; ++n) {
    ASSERT_EQ(r.registers[n].value, (n * 7) & 0xFF) << n;
    ASSERT_EQ(r.registers[n].flags, 0x10 | (n & 7)) << n;
  }
  write(119, 1);
  EXPECT_EQ(r.registers[63].value, 0xA5);
  EXPECT_EQ(r.registers[64].value & 15, 0);  // 64 and up never move
}

TEST_F(Registers, ControlRegisterSetsAndClearsNamedBitsAndMirrorsTheMask) {
  write(65, 8 | 2);  // set bit 1: interrupts masked
  EXPECT_EQ(read(64), 2);
  EXPECT_EQ(read(65), 2);
  write(65, 2);      // clear bit 1
  EXPECT_EQ(read(64), 0);
  write(64, 2);      // 64 bit 1 goes to 65 too
  EXPECT_EQ(read(65), 2);
  write(65, 9);      // watchdog clear: bit 0 returns to 0, bit 1 stays
  EXPECT_EQ(r.reg(65), 2);
}

TEST_F(Registers, PeripheryWritesKeepCompareValues) {
  r.registers[101].value = 0x50;
  r.registers[65].value = 0x60;
  write(101, 0xF);
  write(65, 0xA);
  EXPECT_EQ(r.registers[101].value, 0x5F);
  EXPECT_EQ(r.registers[65].value, 0x62);
}

TEST_F(Registers, ReadOnlyAndMaskedRegisters) {
  write(71, 15);
  write(72, 15);
  write(73, 15);
  write(85, 3);
  EXPECT_EQ(read(71), 0);
  EXPECT_EQ(read(72), 0);
  EXPECT_EQ(read(73), 0);
  EXPECT_EQ(read(85), 8);
  write(99, 15);
  EXPECT_EQ(read(99), 7);
  write(66, 15);
  EXPECT_EQ(read(66), 12);
  EXPECT_EQ(read(67), 12);
  write(104, 3);
  EXPECT_EQ(read(104), 0);
}

TEST_F(Registers, ResetClearsEveryValueAndSetsTheReadout) {
  for (int n = 0; n < 128; ++n) r.registers[n].value = 0xC7;
  r.reset();
  for (int n = 0; n < 128; ++n) ASSERT_EQ(r.registers[n].value, n == 85 ? 0xC8 : 0xC0) << n;
}

TEST_F(Registers, PortLatchesFollowTheDirections) {
  write(80, 15);         // all inputs: the latch is not written
  EXPECT_EQ(r.reg(80), 0);
  write(82, 1);          // port 3 pins 0-2 outputs
  write(80, 15);
  EXPECT_EQ(r.reg(80), 7);
  write(82, 1 | 4);      // pin 3 as well
  write(80, 15);
  EXPECT_EQ(r.reg(80), 15);
  write(84, 5);          // port 5 pins 0 and 2
  write(83, 15);
  EXPECT_EQ(r.reg(83), 5);
  step(1);               // the samplers keep the latches of output pins
  EXPECT_EQ(r.reg(80), 15);
  EXPECT_EQ(r.reg(83), 5);
}

// The whole road: a source assembled by K42xxasm, run in the module bound
// by name; Timer1's and the 1 Hz enables stored and read back.
TEST_F(Registers, AnAssembledSourceRunsInTheModule) { runWholeRoad(qv4128::kEnables1, 5); }

}  // namespace
}  // namespace qv4128test
