// The RAM window 64-67 over 16 banks: a switch saves and loads whole value
// words (value and compare value); the flags stay. A reset clears 112 and
// 64-67 without switching, so the next switch saves over bank 0.
#include "qv4115_client.h"

namespace qv4115test {
namespace {

using RamBank = Qv4115;

TEST_F(RamBank, SwitchMovesValueAndCompareValueKeepsFlags) {
  r.registers[L.ram.window.reg].value = 0x70;
  r.registers[L.ram.window.reg].flags = 0x12;
  write(L.ram.window.reg, 9);
  write(67, 6);
  write(L.ram.bank.reg, 3);
  EXPECT_EQ(r.registers[L.ram.window.reg].value, 0);
  EXPECT_EQ(r.registers[67].value, 0);
  EXPECT_EQ(r.registers[L.ram.window.reg].flags, 0x12);
  write(L.ram.window.reg, 4);
  write(L.ram.bank.reg, 0);
  EXPECT_EQ(r.registers[L.ram.window.reg].value, 0x79);
  EXPECT_EQ(r.registers[67].value, 6);
  write(L.ram.bank.reg, 3);
  EXPECT_EQ(r.registers[L.ram.window.reg].value, 4);
  EXPECT_EQ(r.reg(L.ram.bank.reg), 3);
}

TEST_F(RamBank, ResetClearsTheWindowAndTheNextSwitchSavesOverBankZero) {
  write(L.ram.window.reg, 9);
  write(L.ram.bank.reg, 3);
  write(L.ram.window.reg, 4);
  write(L.ram.bank.reg, 5);  // bank 3 saved
  r.reset();
  EXPECT_EQ(r.reg(L.ram.bank.reg), 0);
  EXPECT_EQ(r.reg(L.ram.window.reg), 0);
  write(L.ram.bank.reg, 3);
  EXPECT_EQ(r.reg(L.ram.window.reg), 4);  // bank 3 as it was left
  write(L.ram.bank.reg, 0);
  EXPECT_EQ(r.reg(L.ram.window.reg), 0);  // bank 0 took the cleared cells
}

TEST_F(RamBank, EveryBankIsItsOwn) {
  for (int b = 0; b < 16; ++b) {
    write(L.ram.bank.reg, b);
    write(65, b);
  }
  for (int b = 15; b >= 0; --b) {
    write(L.ram.bank.reg, b);
    EXPECT_EQ(r.reg(65), b);
  }
}

}  // namespace
}  // namespace qv4115test
