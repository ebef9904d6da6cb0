// QV4112's periphery window in a host widget (offscreen): the buzzer
// pictures, port B without buttons, the box texts, and the watchdog reset
// that leaves the registers and the timer while the window starts again.
#include <platform/dialog.h>

#include "chip_window.h"
#include "qv4112_test.h"

namespace qv4112test {
namespace {

using platform::Picture;

class Window : public Qv4112, protected ChipWindow {
 protected:
  void SetUp() override {
    Qv4112::SetUp();
    open("42120000.DLL", QV4112_MODULE_FOLDER);
    r.reset();
    flush();
  }
};

TEST_F(Window, BoxesDrawTheModel) {
  EXPECT_EQ(host.windowTitle().toStdString(), "QV4112 Periphery");
  EXPECT_EQ(host.size(), dialog->size());
  EXPECT_EQ(text(1045), "5.00V");
  EXPECT_EQ(text(1057), "0");
  EXPECT_EQ(control(1053)->isVisible(), true);  // port B's labels, and no buttons
  EXPECT_EQ(picture(1090), Picture::PinHigh);
  EXPECT_EQ(picture(1114), Picture::MelodyOff);
  const Picture melodies[4] = {Picture::MelodyOff, Picture::Melody1, Picture::Melody2,
                               Picture::Melody3};
  for (int setting = 3; setting >= 0; --setting) {
    write(kBuzzer, setting);
    flush();
    EXPECT_EQ(picture(1114), melodies[setting]);
  }
  write(kPrescaler, 3);
  write(kRequests, 4 | 1);
  write(kTimerControl, 8 | 1);
  write(kTimerHigh, 0xC);
  write(kTimerLow, 3);
  write(kPortB, 5);
  flush();
  EXPECT_EQ(text(1072), "128 Hz Input");
  EXPECT_EQ(picture(1113), Picture::IndicatorOn);
  EXPECT_EQ(text(1071), "32 Hz");
  EXPECT_EQ(text(1069), "C3");
  EXPECT_EQ(text(1070), "C3");
  EXPECT_EQ(picture(1110), Picture::IndicatorOn);  // started
  EXPECT_EQ(picture(1111), Picture::IndicatorOn);
  EXPECT_EQ(picture(1112), Picture::IndicatorOn);
  EXPECT_EQ(picture(1090), Picture::PinHigh);
  EXPECT_EQ(picture(1091), Picture::PinLow);
}

// Below 1.26 V, strictly: 1.26 V is not low, 1.25 V is.
TEST_F(Window, DetectorLevelIsStrict) {
  scroll(1044, platform::SB_THUMBTRACK, 500 - 126);
  EXPECT_EQ(text(1045), "1.26V");
  write(kLevelDetector, 1);
  step(2 * k256Hz);
  EXPECT_EQ(r.reg(kLevelDetector), 0);
  scroll(1044, platform::SB_LINEDOWN);
  write(kLevelDetector, 1);
  step(2 * k256Hz);
  EXPECT_EQ(r.reg(kLevelDetector), 8);
}

// The eighth 2 Hz step without a clear (pass 65536) resets the CPU, the
// pins and the window, and leaves every register and the running timer.
TEST_F(Window, WatchdogResetKeepsRegistersAndTheTimer) {
  program({JMP(4), NOP, NOP, NOP, LDI(5), STA(10), JMP(6)});
  write(kPortB, 3);
  write(kTimerControl, 4 | 3);  // running at 2 Hz
  write(50, 9);
  write(kPortCDirection, 1);
  write(kPortC, 1);
  runRounds(6 * 8192);
  write(kInterruptControl, 8);  // a clear at the sixth step: the eighth after it is at 14
  runRounds(8 * 8192 - 1);
  EXPECT_EQ(r.pc(), 6);
  EXPECT_EQ(r[k42::kAcc], 5);
  step(1);
  EXPECT_EQ(r.pc(), 4);  // restarted at 0 in this pass
  EXPECT_EQ(r[k42::kAcc], 0);
  EXPECT_EQ(r.reg(50), 9);
  EXPECT_EQ(r.reg(kPortB), 3);
  EXPECT_EQ(r.reg(kTimerControl), 4 | 3);
  EXPECT_EQ(r.reg(kTimerLow), 13);  // 14 steps of 2 Hz from 0xFF
  flush();
  for (int p = 0; p < 4; ++p) EXPECT_EQ(picture(1090 + p), Picture::PinHigh) << p;
  EXPECT_EQ(picture(1094), Picture::PinLow);  // port C released
  EXPECT_EQ(text(1040), "L");
  EXPECT_EQ(picture(1110), Picture::IndicatorOff);  // shown off until the next write
  step(8192);
  EXPECT_EQ(r.reg(kTimerLow), 14);  // still running after the reset
}

}  // namespace
}  // namespace qv4112test
