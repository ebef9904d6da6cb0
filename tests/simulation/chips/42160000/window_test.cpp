// QV4116's periphery window offscreen: the supply slider, the indicator
// LEDs, pin buttons before a run and on output pins.
#include <platform/dialog_items.h>
#include <platform/window.h>

#include <QScrollBar>

#include "qv4116_fixture.h"

namespace qv4116test {
namespace {

using namespace platform;

TEST_F(Qv4116, SupplySliderStepsAndEnds) {
  openWindow();
  auto* bar = static_cast<QScrollBar*>(control(1044));
  EXPECT_EQ(text(1045), "5.00V");
  scroll(1044, SB_LINEUP);  // at the top: nothing
  EXPECT_EQ(bar->value(), 0);
  EXPECT_EQ(text(1045), "5.00V");
  scroll(1044, SB_THUMBTRACK, 10);
  scroll(1044, SB_PAGEUP);
  EXPECT_EQ(text(1045), "5.00V");
  scroll(1044, SB_THUMBTRACK, 100);
  scroll(1044, SB_PAGEUP);
  EXPECT_EQ(bar->value(), 90);
  scroll(1044, SB_THUMBTRACK, 101);
  scroll(1044, SB_PAGEUP);
  EXPECT_EQ(bar->value(), 91);
  EXPECT_EQ(text(1045), "4.09V");
  scroll(1044, SB_THUMBTRACK, 495);
  scroll(1044, SB_PAGEDOWN);
  EXPECT_EQ(bar->value(), 500);
  EXPECT_EQ(text(1045), "0.00V");
  scroll(1044, SB_LINEDOWN);
  EXPECT_EQ(bar->value(), 500);
}

TEST_F(Qv4116, ComparatorInputSelectionMovesTheColumnLeds) {
  openWindow();
  r.reset();
  drain();
  EXPECT_TRUE(lit(1098));
  EXPECT_FALSE(lit(1102));
  write(83, 1);
  drain();
  EXPECT_FALSE(lit(1098));
  EXPECT_TRUE(lit(1102));
  write(109, 2);
  write(102, 8);
  drain();
  EXPECT_EQ(text(1109), "32 Hz IRQ");
  EXPECT_TRUE(lit(1108));
}

TEST_F(Qv4116, ClickBeforeAnyRunSamplesAtOnceAndOutputPinsIgnoreClicks) {
  openWindow();
  r.reset();
  click(1035);
  EXPECT_EQ(r.reg(80), 1);
  EXPECT_EQ(text(1035), "H");
  write(81, 2);
  write(82, 2);
  drain();
  EXPECT_EQ(text(1082), "NC");
  r.registers[82].value = 0;
  click(1082);
  EXPECT_EQ(r.reg(82), 0);  // nothing sampled
  click(1081);
  EXPECT_EQ(r.reg(82), 3);  // the input pin and the driven one
  write(81, 0);             // released: it goes low
  drain();
  EXPECT_EQ(text(1082), "L");
  EXPECT_EQ(r.reg(82), 1);
}

}  // namespace
}  // namespace qv4116test
