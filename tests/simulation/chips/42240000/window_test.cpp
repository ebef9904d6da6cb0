// QV4124's periphery window offscreen: controls read by id, commands through
// the dialog procedure.
#include <platform/dialog_items.h>
#include <platform/window.h>


#include <QScrollBar>

#include "qv4124_client.h"

namespace qv4124test {
namespace {

using namespace platform;

TEST_F(Qv4124, OutputPinOfPortBIgnoresClicks) {
  openWindow();
  r.reset();
  write(L.portB.direction.reg, 1);
  write(L.portB.data.reg, 0);
  drain();
  EXPECT_EQ(text(1081), "NC");
  click(1081);
  EXPECT_EQ(r.reg(L.portB.data.reg), 0);
  click(1082);
  drain();
  EXPECT_EQ(text(1082), "H");
  EXPECT_EQ(r.reg(L.portB.data.reg), 2);
}

TEST_F(Qv4124, SupplySliderEnds) {
  openWindow();
  const intptr_t slider = bar(1044);
  EXPECT_EQ(text(1045), "3.60V");
  send(WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), slider);  // cannot move
  EXPECT_EQ(static_cast<QScrollBar*>(control(1044))->value(), 0);
  send(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 355), slider);
  send(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), slider);
  EXPECT_EQ(text(1045), "0.00V");
  send(WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), slider);
  EXPECT_EQ(text(1045), "0.01V");
}

TEST_F(Qv4124, GeneralPurposeOutputBoxFollowsRegister113) {
  openWindow();
  r.reset();
  write(L.lcd.control.reg, 1);
  write(L.lcd.bank0.reg, 3);
  drain();
  EXPECT_TRUE(!control(1134)->isHidden());
  const std::string list = text(1137);
  EXPECT_EQ(list.substr(0, 12), "00 01\n01 00\n");
  write(L.lcd.control.reg, 0);
  drain();
  EXPECT_FALSE(!control(1134)->isHidden());
  EXPECT_FALSE(!control(1137)->isHidden());
}

TEST_F(Qv4124, OscillatorRadiosShowTheClock) {
  openWindow();
  r.reset();
  click(1132);
  write(L.clock.select.reg, 1);
  EXPECT_EQ(text(1052), "64 kHz");
  click(1131);
  EXPECT_EQ(text(1052), "32 kHz");
}

TEST_F(Qv4124, Ram2ListShowsEveryPageWithTheCurrentOneFromTheRegisters) {
  openWindow();
  r.reset();
  write(L.ram2.page.reg, 2);
  write(65, 0xC);
  click(1050);
  const std::string list = text(1139);
  EXPECT_EQ(list.size(), 64u * 7u - 1u);  // 64 lines
  EXPECT_EQ(list.substr(9 * 7, 7), "09  0C\n");
}

class NeverReset : public Qv4124 {
  void SetUp() override { bind("full", false); }
};

TEST_F(NeverReset, ResetAndRam2BeforeAnyInstructionResetAndUndefinedItems) {
  openWindow();
  click(1043);
  click(1050);
  EXPECT_EQ(text(1139).size(), 64u * 7u - 1u);
  for (uintptr_t item : {0u, 1u, 2u, 3u, 7u, 8u, 9u, 99u}) send(WM_USER, item, 0x7FFFFFFF);
  drain();
  EXPECT_EQ(text(1035), "L");
}

}  // namespace
}  // namespace qv4124test
