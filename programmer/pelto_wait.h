#pragma once
// The control's time-outs: each fires once and sets its flag; as a step
// limit it bounds one step of the serial exchange (platform/serial_exchange.h).
#include <QTimer>
#include <functional>

#include "platform/serial_exchange.h"

namespace pelto {

class TimeOut {
 public:
  TimeOut();
  // Clears the flag and fires after `ms` (never for 0 or less).
  void Start(int ms);
  void Stop() { timer_.stop(); }
  bool Fired() const { return fired_; }
  // Counts as fired at once (the wait that follows ends at its first look).
  void MarkFired() { fired_ = true; }
  // Runs after the flag is set when the time-out fires.
  std::function<void()> then;

 private:
  QTimer timer_;
  bool fired_ = false;
};

// One step under a time-out: started when the step starts, stopped when its
// wait is over.
class TimeOutLimit : public platform::StepLimit {
 public:
  TimeOutLimit(TimeOut& timeOut, int ms) : timeOut_(timeOut), ms_(ms) {}
  void Arm() override { timeOut_.Start(ms_); }
  bool Expired() override { return timeOut_.Fired(); }
  void Disarm() override { timeOut_.Stop(); }

 private:
  TimeOut& timeOut_;
  int ms_;
};

// True as soon as `done` holds; false once `timeOut` has fired.
inline bool WaitFor(const std::function<bool()>& done, const TimeOut& timeOut) {
  return platform::WaitPumping(done, [&] { return timeOut.Fired(); });
}

}  // namespace pelto
