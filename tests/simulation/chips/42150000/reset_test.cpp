// The reset: register values, what it keeps, and the nine redraw requests.
#include "qv4115_client.h"
#include "qv4115/layout.h"

namespace qv4115test {
namespace {

using Reset = Qv4115;

TEST_F(Reset, RegisterValuesAfterAReset) {
  for (int n = 0; n < 128; ++n) r.registers[n].value = 0xF0 | 0x9;
  r.registers[L.timer.high.reg].value = 0xF4;
  r.registers[L.watchdog.clear.reg].value = 0xF7;
  r.reset();
  for (int n = 0; n <= 126; ++n) {
    int expected = 0;
    if (n == L.swb.data.reg || n == L.timer.low.reg || n == L.timer.middle.reg) expected = 15;
    if (n == L.timer.high.reg) expected = 7;      // bits 0-1 set, bit 2 kept
    if (n == L.watchdog.clear.reg) expected = 4;  // only bit 2 kept
    EXPECT_EQ(r.registers[n].value, 0xF0 | expected) << n;
  }
  EXPECT_EQ(r.reg(127), 9);
}

TEST_F(Reset, PostsTheNineRedrawsInOrder) {
  Redraws posted;
  RecordRedraws(&posted);
  r.reset();
  const Redraws expected = {{0, 1035}, {1, 1081}, {2, 1097}, {3, 0xFFFF}, {4, 255},
                            {5, 255},  {6, 4095}, {7, 255},  {8, 255}};
  EXPECT_EQ(posted, expected);
}

TEST_F(Reset, KeepsLatchesAndSwbSizeAndCount) {
  write(L.portB.data.reg, 5);
  write(L.portC.direction.reg, 0);
  write(L.portC.data.reg, 6);
  r.reset();
  write(L.portB.direction.reg, 1);
  write(L.portB.data.reg, 5);  // same latch as before the reset: nothing happens
  step(1);
  EXPECT_EQ(r.reg(L.portB.data.reg), 1);  // PB0 took the kept latch bit when it became an output
  write(L.portC.direction.reg, 1);
  step(1);
  EXPECT_EQ(r.reg(L.portC.data.reg), 6);
}

// The whole road: a source assembled by K42xxasm, run in the module bound
// by name; the timer's interrupt enables stored and read back.
TEST_F(Qv4115, AnAssembledSourceRunsInTheModule) { runWholeRoad(qv4115::kQv4115.irq.timerEnables.reg, 3); }

}  // namespace
}  // namespace qv4115test
