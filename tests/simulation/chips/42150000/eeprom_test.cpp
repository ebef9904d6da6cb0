// EEPROM: a write keeps register 89 busy (bit 2) for 512 ticks and then sets
// request 105 bit 1 to mask 102 bit 1; a read is busy for one tick; the
// content survives a reset.
#include "qv4115_client.h"

namespace qv4115test {
namespace {

class Eeprom : public Qv4115 {
 protected:
  void writeByte(int address, int byte) {
    write(90, address & 15);
    write(91, byte & 15);
    write(92, byte >> 4);
    write(89, 2 | (address >> 4));
  }
};

TEST_F(Eeprom, WriteIsBusyFor512TicksThenRequestsByTheMask) {
  write(102, 2);
  writeByte(0x13, 0xA5);
  EXPECT_EQ(read(89), 7);  // value | 4, two ticks gone
  step(509);
  EXPECT_EQ(r.reg(89), 7);
  EXPECT_EQ(r.reg(105), 0);
  step(1);
  EXPECT_EQ(r.reg(89), 3);
  EXPECT_EQ(r.reg(105), 2);

  // The request bit takes the mask: a second write with the mask off clears it.
  write(102, 0);
  writeByte(0x02, 0x3C);
  step(512);
  EXPECT_EQ(r.reg(105), 0);
}

TEST_F(Eeprom, ReadAfterResetIsBusyForOneTick) {
  writeByte(0x13, 0xA5);
  step(600);
  r.reset();
  write(90, 3);
  write(89, 1);
  EXPECT_EQ(r.reg(89), 5);
  EXPECT_EQ(r.reg(91), 5);
  EXPECT_EQ(r.reg(92), 0xA);
  step(1);
  EXPECT_EQ(r.reg(89), 1);
  write(90, 2);
  write(89, 0);  // address 0x02: never written
  EXPECT_EQ(r.reg(91), 0);
  EXPECT_EQ(r.reg(92), 0);
}

}  // namespace
}  // namespace qv4115test
