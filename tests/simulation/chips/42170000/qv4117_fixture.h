#pragma once
// QV4117 or QV4118 bound with the full fake display library; the tests that
// hold for both chips run on each.
#include "lcd_chip_test.h"

namespace qv4117test {

using namespace k42test;
using Lines = std::vector<std::string>;

struct Chip {
  const char* controller;
  const char* digits;
  bool clearTakesOverflow;  // QV4118
  int tenthParts;           // item 8's parts at a 0.1 s carry
};
inline const Chip kQv4117{"QV4117", "42170000", false, 65};
inline const Chip kQv4118{"QV4118", "42180000", true, 1};

class Family : public LcdChipTest, public ::testing::WithParamInterface<Chip> {
 protected:
  void SetUp() override { bindLcd(GetParam().controller, GetParam().digits, "full"); }
  // The supply slider at `hundredths` of a volt.
  void setSupply(int hundredths) { scroll(1044, platform::SB_THUMBTRACK, 500 - hundredths); }
  // The millisecond count of registers 98-100.
  int count() const { return r.reg(100) * 100 + r.reg(99) * 10 + r.reg(98); }
};

inline std::string ChipName(const ::testing::TestParamInfo<Chip>& info) { return info.param.controller; }

}  // namespace qv4117test
