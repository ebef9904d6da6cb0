#pragma once
#include <cstdint>

namespace platform {

// Monotonic time in microseconds.
int64_t MonotonicMicros();

// Spins for `micros` microseconds against the monotonic clock; 0 returns at once.
void BusyWaitMicros(int64_t micros);

// Sleeps for `millis` milliseconds.
void SleepMillis(int64_t millis);

}  // namespace platform
