#pragma once
// QV4128's register names, as its layout places them: the model, the window
// and the tests name registers by these.
#include "layout.h"

namespace qv4128 {

// The layout under the name the family models give theirs.
inline constexpr const Qv4128Layout& L = kQv4128;

enum Register : int {
  kInterruptMask = L.system.mask.reg,
  kControl = L.system.control.reg,
  kPrescalerSelect = L.prescaler.select.reg,
  kPrescalerControl = L.prescaler.control.reg,
  kOptions = L.system.options.reg,
  kResetOptions = L.system.resetOptions.reg,
  kPort1 = L.ports.port1.reg,
  kPort2 = L.ports.port2.reg,
  kDirection = L.ports.direction.reg,
  kPort3 = L.ports.port3.reg,
  kPort4 = L.ports.port4.reg,
  kPortDirections = L.ports.directions.reg,
  kPort5 = L.ports.port5.reg,
  kPort5Directions = L.ports.port5Directions.reg,
  kPrescalerReadout = L.prescaler.readout.reg,
  kTimer1Control = L.timer1.control.reg,
  kTimer1Start = L.timer1.start.reg,
  kTimer2Control = L.timer2.control.reg,
  kTimer2Start = L.timer2.start.reg,
  kPulseCount = L.pulse.count.reg,
  kMelodyLow = L.melody.low.reg,
  kMelodyHigh = L.melody.high.reg,
  kMelodyControl = L.melody.control.reg,
  kRequests1 = L.irq.requests1.reg,
  kEnables1 = L.irq.enables1.reg,
  kRequests2 = L.irq.requests2.reg,
  kEnables2 = L.irq.enables2.reg,
  kRequests3 = L.irq.requests3.reg,
  kEnables3 = L.irq.enables3.reg,
  kSerialLow = L.serial.low.reg,
  kSerialHigh = L.serial.high.reg,
  kSerialMode = L.serial.mode.reg,
  kSerialControl = L.serial.control.reg,
  kSerialOptions = L.serial.options.reg,
  kRamBank = L.ram.bank.reg,
};

}  // namespace qv4128
