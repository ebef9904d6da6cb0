// Register file access and data breakpoints, over the test chip compiled
// into the test.
#include <gtest/gtest.h>

#include "encoding.h"
#include "target_client.h"
#include "test_chip.h"

using namespace k42test;
using testchip::TestChip;

namespace {

struct Bench {
  TestChip chip;
  Records r;
  Bench() { chip.Instruction_Reset(&r.cpu, r.program.data(), r.registers.data(), r.trace.data()); }
  int32_t monitorWrite(int32_t n, int32_t v) {
    return chip.Monitor_Write(&r.cpu, r.program.data(), r.registers.data(), r.trace.data(), n, v);
  }
  void arm(int n, int mode, int compare, int flags) {
    r.registers[n].value = (r.registers[n].value & 15) | compare << 4;
    r.registers[n].flags = mode | flags;
    r[k42::kDataBreakEnable] = 1;
  }
};

}  // namespace

TEST(CompareTable, EveryModeBelowEqualAbove) {
  // Rows: mode; columns: v < c, v = c, v > c.
  const bool want[8][3] = {{false, false, false}, {false, false, true}, {false, true, false},
                           {false, true, true},   {true, false, false}, {true, false, true},
                           {true, true, false},   {true, true, true}};
  for (int mode = 0; mode < 8; ++mode) {
    const int v[3] = {3, 7, 12};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(k42::CompareMatches(mode, v[i], 7), want[mode][i]) << "mode " << mode << " v " << v[i];
    }
  }
}

TEST(RegisterFile, IndexRegisterParts) {
  Bench b;
  b.monitorWrite(110, 0x1B);  // low nibble 11
  b.monitorWrite(111, 0xF);   // upper bits 7
  EXPECT_EQ(b.r[k42::kIndex], 0x7B);
  EXPECT_EQ(b.r.reg(110), 11);
  EXPECT_EQ(b.r.reg(111), 7);
  EXPECT_EQ(b.chip.Register_Read(110), 11);
  EXPECT_EQ(b.chip.Register_Read(111), 7);
  b.r[k42::kIndex] = 0xFF;  // as the monitor may edit it
  b.monitorWrite(110, 2);
  EXPECT_EQ(b.r[k42::kIndex], 0x72);
  EXPECT_EQ(b.chip.Register_Read(111), 7);
}

TEST(RegisterFile, MonitorWriteResolvesAndBoundsTheNumber) {
  Bench b;
  b.r[k42::kIndex] = 33;
  EXPECT_EQ(b.monitorWrite(-1, 9), 9);
  EXPECT_EQ(b.r.reg(33), 9);
  std::vector<RegisterCell> before = b.r.registers;
  EXPECT_EQ(b.monitorWrite(128, 5), 5);
  EXPECT_EQ(b.monitorWrite(-2, 5), 5);
  EXPECT_EQ(b.monitorWrite(1000, 5), 5);
  EXPECT_EQ(0, std::memcmp(before.data(), b.r.registers.data(), 128 * sizeof(RegisterCell)));
  // Periphery writes go through the chip: a 1 clears a request bit.
  b.r.registers[TestChip::kRequest].value = 0x57;
  b.monitorWrite(TestChip::kRequest, 2);
  EXPECT_EQ(b.r.registers[TestChip::kRequest].value, 0x55);
}

TEST(RegisterFile, ReadBreakpointSeesTheValueBeforeClearing) {
  Bench b;
  b.r.registers[TestChip::kRequest].value = 6;
  b.arm(TestChip::kRequest, 2 /* v = c */, 6, k42::kBreakOnRead);
  EXPECT_EQ(b.chip.Register_Read(TestChip::kRequest), 6);
  EXPECT_EQ(b.chip.stopFlags() & k42::kStopDataBreak, k42::kStopDataBreak);
  EXPECT_EQ(b.r.registers[TestChip::kRequest].value, 0x60);
}

TEST(RegisterFile, ReadAndWriteBreakpointsAreSeparate) {
  Bench b;
  b.arm(40, 7, 0, k42::kBreakOnRead);
  b.chip.Register_Write(40, 3);
  EXPECT_EQ(b.chip.stopFlags(), 0) << "armed for reads only";
  b.chip.Register_Read(40);
  EXPECT_EQ(b.chip.stopFlags(), k42::kStopDataBreak);
  Bench w;
  w.arm(41, 7, 0, k42::kBreakOnWrite);
  w.chip.Register_Read(41);
  EXPECT_EQ(w.chip.stopFlags(), 0);
  w.chip.Register_Write(41, 0);
  EXPECT_EQ(w.chip.stopFlags(), k42::kStopDataBreak);
  // Disabled data breakpoints never match.
  Bench off;
  off.arm(42, 7, 0, k42::kBreakOnWrite | k42::kBreakOnRead);
  off.r[k42::kDataBreakEnable] = 0;
  off.chip.Register_Write(42, 1);
  off.chip.Register_Read(42);
  EXPECT_EQ(off.chip.stopFlags(), 0);
}

TEST(RegisterFile, WriteBreakpointComparesTheValueAsGiven) {
  Bench b;
  b.arm(50, 1 /* v > c */, 15, k42::kBreakOnWrite);
  b.monitorWrite(50, 16);  // stored as 0, compared as 16
  EXPECT_EQ(b.chip.stopFlags(), k42::kStopDataBreak);
  EXPECT_EQ(b.r.reg(50), 0);
}
