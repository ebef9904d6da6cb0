#include "core/yielding_wait.h"

#include <QCoreApplication>

#include "platform/clock.h"

namespace monitor {

bool WaitYielding(const std::function<bool()>& done, const std::function<bool()>& expired) {
  for (;;) {
    if (done()) return true;
    if (expired()) return false;
    QCoreApplication::processEvents();
    if (!done()) platform::SleepMillis(1);
  }
}

Deadline::Deadline(int64_t micros) : end_(platform::MonotonicMicros() + micros) {}

bool Deadline::Passed() const {
  return platform::MonotonicMicros() >= end_;
}

}  // namespace monitor
