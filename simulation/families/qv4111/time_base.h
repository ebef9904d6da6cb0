#pragma once
// The QV4111 family's time base: one binary prescaler chain whose taps drive
// the timer (on the source it is set to), the prescaler interrupt (on the
// selected tap), the serial clock (on its selection), the level detector and
// the watchdog. A chip of the family lists its taps as Ticks, each naming the
// unit it drives and that unit's number for the tap; which taps are due
// follows from what the units use now.
#include <cstdint>

#include "periphery/prescaler.h"

namespace qv4111 {

enum class Unit : uint8_t {
  Serial,            // the serial clock on selection n
  Timer,             // the timer on source n
  Tap,               // the prescaler interrupt on tap n
  Detector,          // a detector step, every time
  DetectorEvaluate,  // the end of a pending measurement
  Watchdog,
};

// One tick event: the unit and its number (a source, a tap, a selection).
struct Tick {
  Unit unit;
  int8_t n = 0;
};

// What of the time base the units use now.
struct TimeBaseUse {
  bool timerRunning;
  int timerSource;
  int tap;                   // the prescaler interrupt's tap, 0: none
  int serialSelection = -1;  // -1 while the serial clock is off
  bool detectorPending = false;
};

constexpr bool inUse(Tick t, const TimeBaseUse& u) {
  switch (t.unit) {
    case Unit::Serial:
      return u.serialSelection == t.n;
    case Unit::Timer:
      return u.timerRunning && u.timerSource == t.n;
    case Unit::Tap:
      return u.tap == t.n;
    case Unit::DetectorEvaluate:
      return u.detectorPending;
    case Unit::Detector:
    case Unit::Watchdog:
      return true;
  }
  return true;
}

// The fewest carries of a tap in use: the chain's due level.
template <const auto& Ticks>
constexpr int dueFrom(const TimeBaseUse& u, int stages) {
  return periphery::firstTapInUse(Ticks, [&u](Tick t) { return inUse(t, u); }, stages);
}

}  // namespace qv4111
