#pragma once
// A serial port on COM3 mapped to a fresh rig device, and helpers to run
// without a Qt event loop and to catch the numbered errors.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "platform/run_time_error.h"
#include "platform/serial_port.h"
#include "serial_device.h"
#include "wait_until.h"

namespace commtest {

inline int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const platform::RunTimeError& e) {
    return e.Number();
  }
  return 0;
}

// Spins without letting events run, as a send loop that does not yield.
inline bool SpinUntil(const std::function<bool()>& condition, int ms = 2000) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  return true;
}

inline std::vector<uint8_t> Pattern(size_t n, uint8_t seed = 0) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + seed);
  return v;
}

class PortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TAVIX_COM3", device_.Endpoint().c_str(), 1);
    port_.SetCommPort(3);
  }
  void TearDown() override { unsetenv("TAVIX_COM3"); }

  // Bytes the device has received so far, accumulated.
  std::vector<uint8_t> DeviceGot() {
    std::vector<uint8_t> more = device_.Received();
    got_.insert(got_.end(), more.begin(), more.end());
    return got_;
  }

  testdevices::SerialDevice device_;
  platform::SerialPort port_;
  std::vector<uint8_t> got_;
};

}  // namespace commtest
