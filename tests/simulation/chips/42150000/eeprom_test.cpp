// EEPROM: a write keeps register 89 busy (bit 2) for 512 ticks and then sets
// request 105 bit 1 to mask 102 bit 1; a read is busy for one tick; the
// content survives a reset.
#include "qv4115_client.h"

namespace qv4115test {
namespace {

class Eeprom : public Qv4115 {
 protected:
  void writeByte(int address, int byte) {
    write(L.eeprom.address.reg, address & 15);
    write(L.eeprom.dataLow.reg, byte & 15);
    write(L.eeprom.dataHigh.reg, byte >> 4);
    write(L.eeprom.control.reg, 2 | (address >> 4));
  }
};

TEST_F(Eeprom, WriteIsBusyFor512TicksThenRequestsByTheMask) {
  write(L.irq.systemEnables.reg, 2);
  writeByte(0x13, 0xA5);
  EXPECT_EQ(read(L.eeprom.control.reg), 7);  // value | 4, two ticks gone
  step(509);
  EXPECT_EQ(r.reg(L.eeprom.control.reg), 7);
  EXPECT_EQ(r.reg(L.irq.systemRequests.reg), 0);
  step(1);
  EXPECT_EQ(r.reg(L.eeprom.control.reg), 3);
  EXPECT_EQ(r.reg(L.irq.systemRequests.reg), 2);

  // The request bit takes the mask: a second write with the mask off clears it.
  write(L.irq.systemEnables.reg, 0);
  writeByte(0x02, 0x3C);
  step(512);
  EXPECT_EQ(r.reg(L.irq.systemRequests.reg), 0);
}

TEST_F(Eeprom, ReadAfterResetIsBusyForOneTick) {
  writeByte(0x13, 0xA5);
  step(600);
  r.reset();
  write(L.eeprom.address.reg, 3);
  write(L.eeprom.control.reg, 1);
  EXPECT_EQ(r.reg(L.eeprom.control.reg), 5);
  EXPECT_EQ(r.reg(L.eeprom.dataLow.reg), 5);
  EXPECT_EQ(r.reg(L.eeprom.dataHigh.reg), 0xA);
  step(1);
  EXPECT_EQ(r.reg(L.eeprom.control.reg), 1);
  write(L.eeprom.address.reg, 2);
  write(L.eeprom.control.reg, 0);  // address 0x02: never written
  EXPECT_EQ(r.reg(L.eeprom.dataLow.reg), 0);
  EXPECT_EQ(r.reg(L.eeprom.dataHigh.reg), 0);
}

}  // namespace
}  // namespace qv4115test
