#include "platform/clock.h"

#include <time.h>

#include <cerrno>

namespace platform {

int64_t MonotonicMicros() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

void BusyWaitMicros(int64_t micros) {
  if (micros <= 0) return;
  const int64_t end = MonotonicMicros() + micros;
  while (MonotonicMicros() < end) {
  }
}

void SleepMillis(int64_t millis) {
  if (millis <= 0) return;
  timespec ts{static_cast<time_t>(millis / 1000), static_cast<long>((millis % 1000) * 1000000)};
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

}  // namespace platform
