// What QV4114 adds to QV4111: the software reset, the comparator on PE1 and
// its request, the buzzer on PE0 with its beep, port E, and the renumbered
// boxes of the wider window.
#include <platform/dialog.h>
#include <platform/messagebox.h>

#include <utility>

#include "chip_test.h"
#include "chip_window.h"

namespace qv4114test {
namespace {

using namespace k42test;
using platform::Picture;

// clang-format off
enum : int {
  kBuzzerPin = 100, kPortE = 102, kPortEDirection = 103, kLevelDetector = 108, kInterruptControl = 109,
  kPortB = 117, kPortBDirection = 118, kComparator = 123, kBuzzerTimer = 126,
};
// clang-format on

class Qv4114 : public ChipTest {
 protected:
  void SetUp() override { bindChip("QV4114", QV4114_PROGRAM_FOLDER); }
};

TEST_F(Qv4114, SoftwareResetAtTheNextPassAndWatchdogAtTheThirdSecond) {
  startMarkedLoop();
  write(kComparator, 8 | 3);
  EXPECT_EQ(r.reg(kComparator), 3);  // bit 3 is not stored
  EXPECT_FALSE(wasReset());
  step(1);
  ASSERT_TRUE(wasReset());
  EXPECT_EQ(r.reg(kComparator), 0);
  write(50, 15);
  ticks = 0;  // the watchdog counts from this pass's reset
  stepTo(3 * kOneSecond - 1);
  EXPECT_FALSE(wasReset());
  stepTo(3 * kOneSecond);
  EXPECT_TRUE(wasReset());
}

class Window : public Qv4114, protected ChipWindow {
 protected:
  void SetUp() override {
    Qv4114::SetUp();
    open("42140000.DLL", QV4114_MODULE_FOLDER);
    r.reset();
    flush();
  }
  void supply(int hundredths) { scroll(1044, platform::SB_THUMBTRACK, 500 - hundredths); }
};

// The first evaluation comes at a 128 Hz step after switching on and raises
// nothing; later ones come at every third 8192 Hz call since the reset
// (every 6th pass) and request on a change, with 109 bit 3.
TEST_F(Window, ComparatorFirstAndLaterEvaluations) {
  write(kLevelDetector, 1);  // 1.30 V
  write(kInterruptControl, 8);
  supply(100);
  write(kComparator, 3);
  flush();
  EXPECT_EQ(text(1051), "COMP");
  EXPECT_EQ(picture(1118), Picture::IndicatorOn);
  EXPECT_EQ(picture(1119), Picture::IndicatorOn);
  step(127);
  EXPECT_EQ(r.reg(kComparator), 3);
  step(1);  // pass 128
  EXPECT_EQ(r.reg(kComparator), 4 | 3);
  EXPECT_EQ(r.reg(kInterruptControl), 8);
  supply(200);
  step(3);
  EXPECT_EQ(r.reg(kComparator), 4 | 3);
  step(1);  // pass 132
  EXPECT_EQ(r.reg(kComparator), 3);
  EXPECT_EQ(r.reg(kInterruptControl), 8 | 4);
  // The request interrupts with 109 bit 0; reading 109 clears only it.
  write(kInterruptControl, 8 | 1);
  EXPECT_EQ(r.reg(kInterruptControl), 8 | 4 | 1);
  step(1);
  EXPECT_EQ(r[k42::kInInterrupt], 1);
  EXPECT_EQ(read(kInterruptControl), 8 | 4 | 1);
  EXPECT_EQ(r.reg(kInterruptControl), 8 | 1);
  r.registers[kInterruptControl].value |= 4;
  write(kInterruptControl, 8 | 4 | 1);  // a request written as 1 is cleared
  EXPECT_EQ(r.reg(kInterruptControl), 8 | 1);
  // Switched off, it raises nothing and keeps its output.
  write(kComparator, 1);
  supply(100);
  step(12);
  EXPECT_EQ(r.reg(kComparator), 1);
  EXPECT_EQ(r.reg(kInterruptControl), 8 | 1);
  write(kComparator, 0);  // PE1 released
  flush();
  EXPECT_EQ(text(1051), "L");
}

TEST_F(Window, BuzzerOnPe0AndItsBeep) {
  std::vector<std::pair<int, int>> beeps;
  platform::SetToneHook([&beeps](int f, int ms) { beeps.emplace_back(f, ms); });
  write(kBuzzerPin, 1);
  write(kPortEDirection, 1);
  write(kPortE, 1);
  write(kPortBDirection, 1);
  write(kBuzzerTimer, 4);
  write(kBuzzerPin, 0);  // the pin taken at switch-on keeps the buzzer
  flush();
  EXPECT_EQ(text(1050), "BUZ");
  EXPECT_EQ(text(1081), "NC");
  write(kPortE, 0);  // pin 0 of both ports stays while the buzzer is on
  write(kPortB, 1);
  EXPECT_EQ(r.reg(kPortE), 1);
  EXPECT_EQ(r.reg(kPortB), 0);
  write(kBuzzerTimer, 0);  // 103 applies again: PE0 an output at its latch
  flush();
  platform::SetToneHook(nullptr);
  EXPECT_EQ(beeps, (std::vector<std::pair<int, int>>{{39, 1}}));
  EXPECT_EQ(text(1050), "NC");
  EXPECT_EQ(picture(1113), Picture::PinLow);
}

TEST_F(Window, PortEClicksAndTheRenumberedBoxes) {
  EXPECT_EQ(host.windowTitle().toStdString(), "QV4114 Periphery");
  EXPECT_EQ(host.size(), dialog->size());
  click(1052);
  EXPECT_EQ(r.reg(kPortE), 4);
  flush();
  EXPECT_EQ(text(1052), "H");
  EXPECT_EQ(picture(1115), Picture::PinHigh);
  write(kBuzzerTimer, 8 | 2);
  write(125, 2);
  write(98, 3);
  flush();
  EXPECT_EQ(text(1073), "2048 Hz Input");
  EXPECT_EQ(text(1072), "8 Hz Input");
  EXPECT_EQ(text(1071), "128 Hz");
  EXPECT_EQ(picture(1110), Picture::IndicatorOn);
}

}  // namespace
}  // namespace qv4114test
