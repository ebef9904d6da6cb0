// QV4234's periphery window in a host widget (offscreen): caption and size,
// the sliders' steps and labels, pin texts by function, the prescaler and
// timer boxes.
#include <platform/dialog.h>

#include "qv4234_client.h"
#include "layout.h"

namespace qv4234test {
namespace {

using platform::SB_LINEDOWN;
using platform::SB_LINEUP;
using platform::SB_PAGEDOWN;
using platform::SB_PAGEUP;
using platform::SB_THUMBTRACK;

using Window = Qv4234;

TEST_F(Window, HostTakesTheCaptionAndTheDialogsSize) {
  EXPECT_EQ(host.windowTitle().toStdString(), "QV4234 Periphery");
  EXPECT_EQ(dialog->pos(), QPoint(0, 0));
  EXPECT_EQ(host.size(), dialog->size());
  EXPECT_EQ(text(kAdcLabel), "3.60 V");
  EXPECT_EQ(text(kSupplyLabel), "3.60 V");
  EXPECT_EQ(text(1109), "8 Hz IRQ");
  EXPECT_EQ(text(kPinButton + 2), "L");
}

TEST_F(Window, Set1SlidersRunFrom180DownTo0WithClampedSteps) {
  ASSERT_EQ(Stdk::Get().SetControllerOptions("0,0,0,4"), 0);
  EXPECT_EQ(text(kSupplyLabel), "1.80 V");
  scroll(kSupplySlider, SB_LINEUP);
  EXPECT_EQ(text(kSupplyLabel), "1.80 V");
  scroll(kSupplySlider, SB_PAGEUP);
  EXPECT_EQ(text(kSupplyLabel), "1.80 V");
  scroll(kSupplySlider, SB_LINEDOWN);
  EXPECT_EQ(text(kSupplyLabel), "1.79 V");
  scroll(kSupplySlider, SB_PAGEDOWN);
  EXPECT_EQ(text(kSupplyLabel), "1.69 V");
  scroll(kSupplySlider, SB_THUMBTRACK, 175);
  EXPECT_EQ(text(kSupplyLabel), "0.05 V");
  scroll(kSupplySlider, SB_PAGEDOWN);
  EXPECT_EQ(text(kSupplyLabel), "0.00 V");
  scroll(kSupplySlider, SB_LINEDOWN);
  EXPECT_EQ(text(kSupplyLabel), "0.00 V");
  scroll(kAdcSlider, SB_PAGEDOWN);
  EXPECT_EQ(text(kAdcLabel), "1.70 V");
  scroll(kAdcSlider, SB_THUMBTRACK, 5);
  scroll(kAdcSlider, SB_PAGEUP);
  EXPECT_EQ(text(kAdcLabel), "1.80 V");
}

TEST_F(Window, Pa2TextFollowsItsFunctionAndIgnoresClicksWhileDriven) {
  write(qv4234::L.ports.directions.reg, 4);
  const char* texts[4] = {"NC", "Freq", "Out", "POR"};
  for (int f = 0; f < 4; ++f) {
    write(qv4234::L.ports.functions2.reg, f);
    EXPECT_EQ(text(kPinButton + 2), texts[f]);
    const int before = r.reg(qv4234::L.ports.portA.reg);
    click(kPinButton + 2);
    EXPECT_EQ(r.reg(qv4234::L.ports.portA.reg), before);
    EXPECT_EQ(text(kPinButton + 2), texts[f]);
  }
  write(qv4234::L.ports.directions.reg, 0);
  EXPECT_EQ(text(kPinButton + 2), "L");
  click(kPinButton + 2);
  EXPECT_EQ(text(kPinButton + 2), "H");
  EXPECT_EQ(r.reg(qv4234::L.ports.portA.reg), 4);
}

TEST_F(Window, OtherPinsShowTheirFunctions) {
  write(qv4234::L.ports.directions.reg, 0xF);
  write(qv4234::L.ports.functions.reg, 1 | 4 | 8);
  EXPECT_EQ(text(kPinButton + 0), "PWM");
  EXPECT_EQ(text(kPinButton + 1), "Clk");
  EXPECT_EQ(text(kPinButton + 3), "S");
  write(qv4234::L.ports.functions.reg, 2);
  EXPECT_EQ(text(kPinButton + 1), "PWM");
  EXPECT_EQ(text(kPinButton + 3), "NC");
  write(qv4234::L.ports.portA45.reg, 4);
  EXPECT_EQ(text(kPinButton + 5), "NC");
  write(qv4234::L.ports.functions2.reg, 4);
  EXPECT_EQ(text(kPinButton + 5), "Freq");
}

TEST_F(Window, PrescalerAndTimerBoxes) {
  write(qv4234::L.control.prescaler.reg, 2);
  EXPECT_EQ(text(1109), "64 Hz IRQ");
  const char* inputs[7] = {"PA0", "16KHz", "2KHz", "512Hz", "128Hz", "8Hz", "1Hz"};
  for (int i = 0; i < 7; ++i) {
    write(qv4234::L.timer.mode.reg, i);
    EXPECT_EQ(text(1124), inputs[i]);
  }
  write(qv4234::L.timer.mode.reg, 7);
  EXPECT_EQ(text(1124), "PA3");
  write(qv4234::L.ports.pinSelect.reg, 2);
  write(qv4234::L.timer.mode.reg, 7);
  EXPECT_EQ(text(1124), "PA4");
  write(qv4234::L.control.clockOptions.reg, 2);
  write(qv4234::L.timer.mode.reg, 7);
  EXPECT_EQ(text(1124), "RC/1");
  write(qv4234::L.ports.edges.reg, 8);
  write(qv4234::L.timer.mode.reg, 7);
  EXPECT_EQ(text(1124), "RC/2");
  EXPECT_EQ(text(1125), "-1");
  write(qv4234::L.timer.mode.reg, 8 | 1);
  EXPECT_EQ(text(1125), "+1");
  write(qv4234::L.timer.value0.reg, 0xA);
  write(qv4234::L.timer.value1.reg, 0xB);
  write(qv4234::L.timer.value2.reg, 0x2);
  EXPECT_EQ(text(1126), "2BA");
  EXPECT_EQ(text(1127), "10");
  write(qv4234::L.timer.value2.reg, 0x2 | 0xC);
  EXPECT_EQ(text(1126), "A");
  EXPECT_EQ(text(1127), "4");
  write(qv4234::L.control.system.reg, 2);  // full compare: all ten bits
  EXPECT_EQ(text(1126), "2BA");
  write(qv4234::L.timer.control.reg, 8 | 1);
  runRounds(6);
  EXPECT_EQ(text(1130), "0");  // 0x2BA + 6 = 0x2C0, on 4 bits
}

}  // namespace
}  // namespace qv4234test
