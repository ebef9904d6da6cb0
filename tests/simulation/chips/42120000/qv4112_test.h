#pragma once
// QV4112 bound through STDK42XX from a program folder.
#include "chip_test.h"

namespace qv4112test {

using namespace k42test;

// Register numbers, as the chip names them.
// clang-format off
enum : int {
  kPortCDirection = 96, kPortAEdges = 99, kLevelDetector = 108, kTimerLow = 112, kTimerHigh = 113,
  kTimerControl = 114, kInterruptControl = 115, kPrescaler = 116, kPortA = 117, kPortAEnables = 118,
  kPortARequests = 119, kPortB = 120, kPortC = 122, kRequests = 125, kBuzzer = 126,
};
// clang-format on

class Qv4112 : public ChipTest {
 protected:
  // Binds the module afresh and resets with a program `JMP 0`. Each pass is
  // one tick; the 256 Hz stage runs at every 64th.
  void SetUp() override { bindChip("QV4112", QV4112_PROGRAM_FOLDER); }
  static constexpr int k256Hz = 64;
};

}  // namespace qv4112test
