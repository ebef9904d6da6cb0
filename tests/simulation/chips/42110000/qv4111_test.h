#pragma once
// QV4111 bound through STDK42XX from a program folder.
#include "chip_test.h"

namespace qv4111test {

using namespace k42test;

// Register numbers, as the chip names them.
// clang-format off
enum : int {
  kTimerLow = 96, kTimerHigh = 97, kTimerControl = 98, kWatchdogEdge = 99, kPa3Clock = 101,
  kSerialClock = 104, kSerialData = 105, kSerialSizeLow = 106, kSerialControl = 107, kLevelDetector = 108,
  kInterruptControl = 109, kRequests = 112, kPortA = 114, kPortARequests = 115, kPortAEnables = 116,
  kPortB = 117, kPortBDirection = 118, kPortC = 119, kPortCRequests = 120, kPortD = 122, kPortControl = 124,
  kPrescaler = 125, kBuzzerTimer = 126,
};
// clang-format on

class Qv4111 : public ChipTest {
 protected:
  // Binds the module afresh and resets with a program `JMP 0`. Each pass
  // is one tick; the 2048 Hz stage runs at every 8th.
  void SetUp() override { bindChip("QV4111", QV4111_PROGRAM_FOLDER); }
};

}  // namespace qv4111test
