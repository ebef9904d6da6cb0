#include "platform/serial_exchange.h"

#include <QCoreApplication>
#include <algorithm>

#include "platform/clock.h"

namespace platform {

const char kSendTimeoutText[] = "Communication Error timeout DSR ";

void PumpEvents() {
  QCoreApplication::processEvents();
}

bool WaitPumping(const std::function<bool()>& done, const std::function<bool()>& expired,
                 const Pump& pump) {
  // An expiry seen before the sleep is kept: a link's expiry may be read
  // only once.
  bool over = false;
  for (;;) {
    if (done()) return true;
    if (over || expired()) return false;
    pump();
    if (done()) continue;
    over = expired();
    if (!over) SleepMillis(1);
  }
}

Deadline::Deadline(int64_t micros) : end_(MonotonicMicros() + micros) {}

bool Deadline::Passed() const {
  return MonotonicMicros() >= end_;
}

bool SendPaced(SerialPort& port, const uint8_t* data, size_t size, const SendPacing& pacing,
               StepLimit& limit) {
  if (pacing.chunk != 0 && size == 0) return true;
  const auto expired = [&] { return limit.Expired(); };
  size_t sent = 0;
  do {
    const size_t step = pacing.chunk == 0 ? size : std::min(pacing.chunk, size - sent);
    limit.Arm();
    const bool ready =
        (!pacing.emptyOutput || WaitPumping([&] { return port.OutBufferCount() == 0; }, expired)) &&
        (!pacing.cts || WaitPumping([&] { return port.CTSHolding(); }, expired)) &&
        (!pacing.dsr || WaitPumping([&] { return port.DSRHolding(); }, expired));
    limit.Disarm();
    if (!ready) return false;
    port.Output(data + sent, step);
    sent += step;
    if (pacing.pauseMicros > 0) BusyWaitMicros(pacing.pauseMicros);
    if (pacing.afterChunk) pacing.afterChunk(sent);
  } while (sent < size);
  return true;
}

std::optional<std::vector<uint8_t>> ReceiveCount(SerialPort& port, int count, StepLimit& limit,
                                                 const Pump& pump) {
  limit.Arm();
  const bool complete = WaitPumping([&] { return port.InBufferCount() >= count; },
                                    [&] { return limit.Expired(); }, pump);
  limit.Disarm();
  if (!complete) return std::nullopt;
  return port.Input();
}

PollEnd PollUntilClear(uint8_t mask, int limit, const PollSteps& steps) {
  for (int polls = 0;;) {
    steps.pause();
    if (!steps.beforePoll()) return PollEnd::kStopped;
    ++polls;
    const std::optional<uint8_t> value = steps.read();
    if (value) {
      if ((*value & mask) == 0) return PollEnd::kClear;
    } else if (!steps.pollOnNoAnswer || !steps.pollOnNoAnswer()) {
      return PollEnd::kNoAnswer;
    }
    if (limit > 0 && polls >= limit) return PollEnd::kLimit;
  }
}

}  // namespace platform
