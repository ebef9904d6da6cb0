// The periphery window of QV4131: its texts, the clock adjustment display,
// the supply against the detector levels, a PA0 edge stepping the SWB, and
// the EEPROM list.
#include <platform/dialog.h>

#include "qv4131_client.h"

namespace qv4131test {
namespace {

using Window = Qv4131Window;

TEST_F(Window, OpensWithTheChipsBoxesAndTexts) {
  EXPECT_EQ(host.windowTitle().toStdString(), "QV4131 Periphery");
  EXPECT_EQ(host.size(), dialog->size());
  EXPECT_EQ(text(1045), "5.00V");
  EXPECT_EQ(text(1066), "100000");  // the reset's text
  EXPECT_EQ(text(1112), "9400Hz");
  EXPECT_EQ(text(1109), "586 Hz");
  EXPECT_EQ(text(1139), "9375Hz");
  EXPECT_EQ(text(1124), "PA0");
  EXPECT_EQ(text(1142), "0");
  EXPECT_EQ(control(1053), nullptr);  // no converter bars
  write(kTimerControl, 2);
  write(kSwbClock, 1);
  write(kClockAdjustHigh, 4);
  flush();
  EXPECT_EQ(text(1124), "37.5KHz");
  EXPECT_EQ(text(1139), "2344Hz");
  EXPECT_EQ(text(1066), "011000");  // 123 bits 3-2, then 122 bits 3-0
}

TEST_F(Window, DetectorLevelsAgainstTheSupply) {
  scroll(1044, platform::SB_THUMBTRACK, 250);  // 2.50 V
  EXPECT_EQ(text(1045), "2.50V");
  write(kLevelDetector, 4);  // at the level 2.50 V: low
  step(513);                 // started at tick 1, evaluated at tick 513
  EXPECT_EQ(r.reg(kLevelDetector), 8);
  write(kLevelDetector, 5);  // 2.20 V: above
  step(2048);                // started at tick 2049, evaluated at tick 2561
  EXPECT_EQ(r.reg(kLevelDetector), 1);
}

TEST_F(Window, Pa0EdgeStepsTheSwbOnSelectionZero) {
  write(kSwbData, 5);
  write(kSwbControl, 4);         // manual start on selection 0
  click(1035);                   // a rising PA0 edge, sampled at once
  EXPECT_EQ(r[k42::kCond3], 1);  // 5 taken: ready
  click(1035);                   // falling: not the selected edge
  step(1);                       // the request enters
  EXPECT_EQ(r.pc(), 1);
}

TEST_F(Window, EepromWriteRewritesTheList) {
  write(kEepromAddress, 3);
  write(kEepromDataLow, 5);
  write(kEepromDataHigh, 0xA);
  write(kEepromControl, 3);
  flush();
  const std::string list = text(1144);
  EXPECT_NE(list.find("  13  A5\n"), std::string::npos);
  EXPECT_NE(list.find("  12  00\n"), std::string::npos);
}

}  // namespace
}  // namespace qv4131test
