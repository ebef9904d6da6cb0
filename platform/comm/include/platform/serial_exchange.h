#pragma once
// The exchange every serial device link is built of: bytes sent under a time
// limit per step, a count of bytes read within a limit, a register polled
// until bits clear, and the wait that keeps the event loop turning while it
// looks. The links keep their own times, limits, messages and state; the
// exchange tells what happened and leaves what to show to them. The port's
// own errors (platform::RunTimeError) pass through.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/serial_port.h"

namespace platform {

// What a link shows when a send timed out.
extern const char kSendTimeoutText[];

using Pump = std::function<void()>;
// Lets the thread's pending events run.
void PumpEvents();

// True as soon as `done` holds; false once `expired` holds first. Between
// looks `pump` runs, then 1 ms of sleep when nothing is ready.
bool WaitPumping(const std::function<bool()>& done, const std::function<bool()>& expired,
                 const Pump& pump = PumpEvents);

// An end time on the monotonic clock.
class Deadline {
 public:
  explicit Deadline(int64_t micros);
  bool Passed() const;

 private:
  int64_t end_;
};

// How long one step of an exchange may take: armed when the step starts,
// asked while it waits, disarmed when its wait is over. A link arms its own
// timer, a deadline, or both.
class StepLimit {
 public:
  virtual ~StepLimit() = default;
  virtual void Arm() = 0;
  virtual bool Expired() = 0;
  virtual void Disarm() {}
};

// A limit on the monotonic clock alone.
class DeadlineLimit : public StepLimit {
 public:
  explicit DeadlineLimit(int ms) : ms_(ms) {}
  void Arm() override { deadline_ = Deadline(int64_t{ms_} * 1000); }
  bool Expired() override { return deadline_.Passed(); }

 private:
  int ms_;
  Deadline deadline_{0};
};

// How bytes go out: `chunk` bytes a step (0: everything in one step, also
// nothing), each step waiting, in this order, for an empty output, CTS and
// DSR, then written, then `pauseMicros` of busy pause and `afterChunk` with
// the count sent so far.
struct SendPacing {
  size_t chunk = 1;
  bool emptyOutput = false, cts = false, dsr = false;
  int pauseMicros = 0;
  std::function<void(size_t sent)> afterChunk;
};

// True when every byte went out; false when a step's wait ran out of its
// limit (nothing more is written).
bool SendPaced(SerialPort& port, const uint8_t* data, size_t size, const SendPacing& pacing,
               StepLimit& limit);

// Waits until `count` bytes are in, then takes them as the port's InputLen
// allows. Nothing when the limit ran out first.
std::optional<std::vector<uint8_t>> ReceiveCount(SerialPort& port, int count, StepLimit& limit,
                                                 const Pump& pump = PumpEvents);

// A register polled until the mask's bits are clear. Each poll: `pause`
// (the poll period), `beforePoll` (false stops, e.g. a dropped line or a
// progress run out), then `read`. A read without an answer polls again only
// when `pollOnNoAnswer` says so.
struct PollSteps {
  std::function<void()> pause;
  std::function<bool()> beforePoll;
  std::function<std::optional<uint8_t>()> read;
  std::function<bool()> pollOnNoAnswer;
};
enum class PollEnd { kClear, kStopped, kNoAnswer, kLimit };
// `limit` polls at most (0: no limit).
PollEnd PollUntilClear(uint8_t mask, int limit, const PollSteps& steps);

}  // namespace platform
