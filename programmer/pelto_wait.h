#pragma once
// The control's waits: a time-out that fires once and sets its flag, and a
// wait that lets events run until a condition holds or the time-out fires.
#include <functional>

#include "platform/controls.h"

namespace pelto {

class TimeOut {
 public:
  TimeOut();
  // Clears the flag and fires after `ms`.
  void Start(int ms);
  void Stop() { timer_.SetEnabled(false); }
  bool Fired() const { return fired_; }
  // Counts as fired at once (the wait that follows ends at its first look).
  void MarkFired() { fired_ = true; }
  // Runs after the flag is set when the time-out fires.
  std::function<void()> then;

 private:
  platform::Timer timer_;
  bool fired_ = false;
};

// True as soon as `done` holds; false once `timeOut` has fired. Between
// looks events run, then 1 ms of sleep when nothing is ready.
bool WaitFor(const std::function<bool()>& done, const TimeOut& timeOut);

}  // namespace pelto
