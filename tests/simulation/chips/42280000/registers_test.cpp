// Register behaviours of QV4128 that are the chip's own: the RAM bank swap,
// the bit set/clear control register and its mirror in 64, write-only and
// read-masked registers, the reset values.
#include "qv4128_client.h"
#include "layout.h"

namespace qv4128test {
namespace {

using Registers = Qv4128;

TEST_F(Registers, BankSwitchedTwiceRestoresValuesAndCompareValuesNeverFlags) {
  for (int n = 0; n < 64; ++n) {
    r.registers[n].value = (n * 7) & 0xFF;
    r.registers[n].flags = 0x10 | (n & 7);
  }
  write(qv4128::L.ram.bank.reg, 1);
  for (int n = 0; n < 64; ++n) {
    ASSERT_EQ(r.registers[n].value, 0) << n;  // the hidden bank is cleared by reset
    ASSERT_EQ(r.registers[n].flags, 0x10 | (n & 7)) << n;
    r.registers[n].value = 0xA5;
  }
  EXPECT_EQ(read(qv4128::L.ram.bank.reg), 1);
  write(qv4128::L.ram.bank.reg, 1);  // no change, no swap
  EXPECT_EQ(r.registers[3].value, 0xA5);
  write(qv4128::L.ram.bank.reg, 0);
  for (int n = 0; n < 64; ++n) {
    ASSERT_EQ(r.registers[n].value, (n * 7) & 0xFF) << n;
    ASSERT_EQ(r.registers[n].flags, 0x10 | (n & 7)) << n;
  }
  write(qv4128::L.ram.bank.reg, 1);
  EXPECT_EQ(r.registers[63].value, 0xA5);
  EXPECT_EQ(r.registers[64].value & 15, 0);  // 64 and up never move
}

TEST_F(Registers, ControlRegisterSetsAndClearsNamedBitsAndMirrorsTheMask) {
  write(qv4128::L.system.control.reg, 8 | 2);  // set bit 1: interrupts masked
  EXPECT_EQ(read(qv4128::L.system.mask.reg), 2);
  EXPECT_EQ(read(qv4128::L.system.control.reg), 2);
  write(qv4128::L.system.control.reg, 2);      // clear bit 1
  EXPECT_EQ(read(qv4128::L.system.mask.reg), 0);
  write(qv4128::L.system.mask.reg, 2);      // 64 bit 1 goes to 65 too
  EXPECT_EQ(read(qv4128::L.system.control.reg), 2);
  write(qv4128::L.system.control.reg, 9);      // watchdog clear: bit 0 returns to 0, bit 1 stays
  EXPECT_EQ(r.reg(qv4128::L.system.control.reg), 2);
}

TEST_F(Registers, PeripheryWritesKeepCompareValues) {
  r.registers[101].value = 0x50;
  r.registers[65].value = 0x60;
  write(qv4128::L.irq.enables1.reg, 0xF);
  write(qv4128::L.system.control.reg, 0xA);
  EXPECT_EQ(r.registers[101].value, 0x5F);
  EXPECT_EQ(r.registers[65].value, 0x62);
}

TEST_F(Registers, ReadOnlyAndMaskedRegisters) {
  write(qv4128::L.ports.port1.reg, 15);
  write(qv4128::L.ports.port2.reg, 15);
  write(qv4128::L.ports.direction.reg, 15);
  write(qv4128::L.prescaler.readout.reg, 3);
  EXPECT_EQ(read(qv4128::L.ports.port1.reg), 0);
  EXPECT_EQ(read(qv4128::L.ports.port2.reg), 0);
  EXPECT_EQ(read(qv4128::L.ports.direction.reg), 0);
  EXPECT_EQ(read(qv4128::L.prescaler.readout.reg), 8);
  write(qv4128::L.melody.control.reg, 15);
  EXPECT_EQ(read(qv4128::L.melody.control.reg), 7);
  write(qv4128::L.prescaler.select.reg, 15);
  EXPECT_EQ(read(qv4128::L.prescaler.select.reg), 12);
  EXPECT_EQ(read(qv4128::L.prescaler.control.reg), 12);
  write(qv4128::L.irq.requests3.reg, 3);
  EXPECT_EQ(read(qv4128::L.irq.requests3.reg), 0);
}

TEST_F(Registers, ResetClearsEveryValueAndSetsTheReadout) {
  for (int n = 0; n < 128; ++n) r.registers[n].value = 0xC7;
  r.reset();
  for (int n = 0; n < 128; ++n) ASSERT_EQ(r.registers[n].value, n == 85 ? 0xC8 : 0xC0) << n;
}

TEST_F(Registers, PortLatchesFollowTheDirections) {
  write(qv4128::L.ports.port3.reg, 15);         // all inputs: the latch is not written
  EXPECT_EQ(r.reg(qv4128::L.ports.port3.reg), 0);
  write(qv4128::L.ports.directions.reg, 1);          // port 3 pins 0-2 outputs
  write(qv4128::L.ports.port3.reg, 15);
  EXPECT_EQ(r.reg(qv4128::L.ports.port3.reg), 7);
  write(qv4128::L.ports.directions.reg, 1 | 4);      // pin 3 as well
  write(qv4128::L.ports.port3.reg, 15);
  EXPECT_EQ(r.reg(qv4128::L.ports.port3.reg), 15);
  write(qv4128::L.ports.port5Directions.reg, 5);          // port 5 pins 0 and 2
  write(qv4128::L.ports.port5.reg, 15);
  EXPECT_EQ(r.reg(qv4128::L.ports.port5.reg), 5);
  step(1);               // the samplers keep the latches of output pins
  EXPECT_EQ(r.reg(qv4128::L.ports.port3.reg), 15);
  EXPECT_EQ(r.reg(qv4128::L.ports.port5.reg), 5);
}

// The whole road: a source assembled by K42xxasm, run in the module bound
// by name; Timer1's and the 1 Hz enables stored and read back.
TEST_F(Registers, AnAssembledSourceRunsInTheModule) { runWholeRoad(qv4128::L.irq.enables1.reg, 5); }

}  // namespace
}  // namespace qv4128test
