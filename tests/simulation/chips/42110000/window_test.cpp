// QV4111's periphery window in a host widget (offscreen): its texts, the
// pin function texts, the IRQ LED, and the pins that only clicks reach (the
// port A requests, the PA3 timer clock) and the supply the detector measures.
#include <platform/dialog.h>
#include <platform/messages.h>

#include "chip_window.h"
#include "qv4111_test.h"

namespace qv4111test {
namespace {

using platform::Picture;

class Window : public Qv4111, protected ChipWindow {
 protected:
  void SetUp() override {
    Qv4111::SetUp();
    open("42110000.DLL", QV4111_MODULE_FOLDER);
    r.reset();
    flush();
  }
};

TEST_F(Window, BoxTextsFollowTheRegisters) {
  EXPECT_EQ(host.windowTitle().toStdString(), "QV4111 Periphery");
  EXPECT_EQ(host.size(), dialog->size());
  EXPECT_EQ(text(1045), "5.00V");
  EXPECT_EQ(text(1035), "L");
  EXPECT_EQ(text(1073), "0 Hz Input");
  EXPECT_EQ(text(1072), "0 Hz Input");
  EXPECT_EQ(text(1071), "0 Hz");
  write(kBuzzerTimer, 8 | 3);
  write(kPrescaler, 3);
  write(kTimerControl, 8 | 7);
  write(kTimerHigh, 0xA);
  write(kTimerLow, 5);
  flush();
  EXPECT_EQ(text(1073), "2667 Hz Input");
  EXPECT_EQ(text(1072), "32 Hz Input");
  EXPECT_EQ(text(1071), "PA3");
  EXPECT_EQ(text(1069), "A5");
  EXPECT_EQ(text(1070), "A5");
  EXPECT_EQ(picture(1110), Picture::IndicatorOn);  // Enabled
  EXPECT_EQ(picture(1112), Picture::IndicatorOn);  // Autoreload
  scroll(1044, platform::SB_PAGEDOWN);
  EXPECT_EQ(text(1045), "4.90V");
  // A reset redraws every box from the cleared model.
  r.reset();
  flush();
  EXPECT_EQ(text(1073), "0 Hz Input");
  EXPECT_EQ(text(1071), "0 Hz");
  EXPECT_EQ(picture(1110), Picture::IndicatorOff);
}

// The IRQ LED follows every change of 125 bit 3 and bit 0 of every write of
// 112, whichever came last.
TEST_F(Window, IrqLedFollows125AndEveryWriteOf112) {
  write(kPrescaler, 8);
  flush();
  EXPECT_EQ(picture(1111), Picture::IndicatorOn);
  write(kRequests, 0);
  flush();
  EXPECT_EQ(picture(1111), Picture::IndicatorOff);
  write(kPrescaler, 8 | 1);  // bit 3 unchanged: the LED stays
  flush();
  EXPECT_EQ(picture(1111), Picture::IndicatorOff);
  write(kRequests, 1);
  flush();
  EXPECT_EQ(picture(1111), Picture::IndicatorOn);
}

TEST_F(Window, BuzzerAndSerialPinsShowTheirFunction) {
  write(kPortBDirection, 1);
  write(kPortB, 1);  // PB0 driven high
  write(kBuzzerTimer, 4);
  flush();
  EXPECT_EQ(text(1081), "BUZ");
  write(kPortB, 0);  // PB0 stays with the buzzer
  EXPECT_EQ(r.reg(kPortB) & 1, 1);
  write(kBuzzerTimer, 0);  // 118 applies again: PB0 an output at its latch
  flush();
  EXPECT_EQ(text(1081), "NC");
  EXPECT_EQ(picture(1090), Picture::PinLow);
  write(kPortControl, 4);
  write(kSerialClock, 8);
  flush();
  EXPECT_EQ(text(1075), "SCK");
  EXPECT_EQ(text(1076), "SD");
  EXPECT_EQ(text(1077), "NC");
  click(1075);  // a function pin takes no click
  write(kSerialClock, 0);
  flush();
  EXPECT_EQ(text(1075), "NC");
  EXPECT_EQ(text(1076), "NC");
}

// PA3 clocks the timer (source 7) on a rising edge while 101 bit 0 is 0,
// otherwise on the edge 99 bit 3 chooses (0: falling).
TEST_F(Window, Pa3ClocksTheTimerOnTheEdgeOf101) {
  write(kBuzzerTimer, 8);
  write(kTimerControl, 7);
  write(kTimerLow, 5);
  click(1038);  // rising
  EXPECT_EQ(r.reg(kTimerLow), 4);
  click(1038);  // falling
  EXPECT_EQ(r.reg(kTimerLow), 4);
  write(kPa3Clock, 1);
  click(1038);
  EXPECT_EQ(r.reg(kTimerLow), 4);
  click(1038);
  EXPECT_EQ(r.reg(kTimerLow), 3);
}

// Enabled pins request on the edge of 99 bit 3; reading 115 clears it, its
// summary bit and the edges.
TEST_F(Window, PortAClicksRequestAndReadingClears) {
  write(kWatchdogEdge, 8);  // rising edges
  write(kPortAEnables, 1);
  flush();
  EXPECT_EQ(picture(1098), Picture::MarkerRising);
  EXPECT_EQ(picture(1099), Picture::MarkerNone);
  click(1036);  // PA1 not enabled
  click(1035);
  EXPECT_EQ(text(1035), "H");
  EXPECT_EQ(r.reg(kPortARequests), 1);
  EXPECT_EQ(r.reg(kRequests), 1);
  EXPECT_EQ(r.reg(kPortA), 3);
  EXPECT_EQ(read(kPortARequests), 1);
  EXPECT_EQ(r.reg(kPortARequests), 0);
  EXPECT_EQ(r.reg(kRequests), 0);
}

// A level detector measurement takes two 128 Hz steps: the supply at or
// below the level sets bit 3.
TEST_F(Window, DetectorMeasuresTheSupplyOfTheBar) {
  write(kLevelDetector, 1);  // 2.30 V
  EXPECT_EQ(r.reg(kLevelDetector), 5);
  step(256);
  EXPECT_EQ(r.reg(kLevelDetector), 1);         // 5.00 V is above
  scroll(1044, platform::SB_THUMBTRACK, 270);  // 2.30 V
  EXPECT_EQ(text(1045), "2.30V");
  write(kLevelDetector, 1);
  step(255);
  EXPECT_EQ(r.reg(kLevelDetector), 5);
  step(1);
  EXPECT_EQ(r.reg(kLevelDetector), 9);
}

}  // namespace
}  // namespace qv4111test
