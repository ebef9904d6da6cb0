#pragma once
// QV4131 bound by name through STDK42XX from the program folder, as its
// shipped TAVIX.INI names it; with its window in a host widget.
#include "chip_test.h"
#include "chip_window.h"

namespace qv4131test {

using namespace k42test;

// QV4131's registers, by their roles.
enum Register : int {
  kEepromDataLow = 80, kEepromDataHigh = 81, kEepromAddress = 82, kEepromControl = 83,
  kPortA = 84, kPortBDirection = 85, kPortB = 86, kPortCDirection = 87, kPortC = 88,
  kSwbClock = 89, kSwbData = 90, kSwbSizeLow = 91, kSwbControl = 92,
  kTimerControl = 93, kTimerRun = 94, kTimerLow = 95, kTimerMiddle = 96, kTimerHigh = 97,
  kPortAEnables = 98, kPrescalerEnables = 99, kTimerEnables = 100,
  kPortARequests = 101, kPrescalerRequests = 102, kTimerRequests = 103,
  kInterruptControl = 104, kWatchdogSleep = 105, kWatchdogHold = 106, kPrescalerPwm = 107,
  kLevelDetector = 108, kSwbSupplement = 109, kWakeUp = 114, kPortAEdges = 116,
  kClockAdjustLow = 122, kClockAdjustHigh = 123, kClockOutputs = 124,
  kResetSelect = 125, kResetPolarity = 126,
};

class Qv4131 : public ChipTest {
 protected:
  // Binds the module afresh and resets with a program `JMP 0`: each pass is
  // one tick of the 300 kHz time base.
  void SetUp() override { bindChip("QV4131", QV4131_PROGRAM_FOLDER); }
  void TearDown() override { RecordRedraws(nullptr); }
};

// The same with the periphery window open (reset after it opened).
class Qv4131Window : public Qv4131, protected ChipWindow {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace qv4131test
