#pragma once
// QV4116 bound with the full fake display library.
#include "lcd_chip_test.h"

namespace qv4116test {

using namespace k42test;
using Lines = std::vector<std::string>;

class Qv4116 : public LcdChipTest {
 protected:
  void SetUp() override { bindLcd("QV4116", "42160000", "full"); }
  // The supply slider at `hundredths` of a volt.
  void setSupply(int hundredths) { scroll(1044, platform::SB_THUMBTRACK, 500 - hundredths); }
};

}  // namespace qv4116test
