#pragma once
// QV4234's register names, as its layout places them: the model, the window
// and the tests name registers by these.
#include "layout.h"

namespace qv4234 {

// The layout under the name the family models give theirs.
inline constexpr const Qv4234Layout& L = kQv4234;

enum Register : int {
  kPortA = L.ports.portA.reg,
  kDirections = L.ports.directions.reg,
  kEdges = L.ports.edges.reg,
  kPinSelect = L.ports.pinSelect.reg,
  kOutputControl = L.output.control.reg,
  kSerialMode = L.serial.mode.reg,
  kSerialControl = L.serial.control.reg,
  kSerialLow = L.serial.low.reg,
  kSerialHigh = L.serial.high.reg,
  kTimerMode = L.timer.mode.reg,
  kTimerControl = L.timer.control.reg,
  kTimerValue0 = L.timer.value0.reg,
  kTimerValue1 = L.timer.value1.reg,
  kTimerValue2 = L.timer.value2.reg,
  kPortA45 = L.ports.portA45.reg,
  kPinFunctions = L.ports.functions.reg,
  kPinFunctions2 = L.ports.functions2.reg,
  kEnables1 = L.irq.enables1.reg,
  kEnables2 = L.irq.enables2.reg,
  kRequests1 = L.irq.requests1.reg,
  kRequests2 = L.irq.requests2.reg,
  kSystem = L.control.system.reg,
  kWatchdog = L.control.watchdog.reg,
  kSleepOptions = L.control.sleepOptions.reg,
  kPrescaler = L.control.prescaler.reg,
  kComparator = L.comparator.control.reg,
  kThresholdIndex = L.comparator.thresholdIndex.reg,
  kClockOptions = L.control.clockOptions.reg,
  kTickDivider = L.control.tickDivider.reg,
  kTopThreshold = L.comparator.topThreshold.reg,
};

}  // namespace qv4234
