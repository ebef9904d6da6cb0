#pragma once
// A port on COM2 mapped to a fresh simulated emulator, opened as the link
// opens it (DTR and RTS on), with the events it delivers recorded.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/run_time_error.h"
#include "platform/serial_port.h"
#include "simulated_ice.h"
#include "wait_until.h"

namespace icetest {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;

class IceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TAVIX_COM2", ice_.Endpoint().c_str(), 1);
    port_.SetCommPort(2);
    port_.SetSettings("baud=14400 parity=N data=8 stop=1");
    port_.SetOnComm([this] {
      int code = port_.CommEvent();
      bool level = code == 3   ? port_.CTSHolding()
                   : code == 4 ? port_.DSRHolding()
                               : port_.CDHolding();
      events_.push_back(std::to_string(code) + (level ? "+" : "-"));
    });
  }
  void TearDown() override { unsetenv("TAVIX_COM2"); }

  void Connect() {
    port_.SetPortOpen(true);
    port_.SetDTREnable(true);
    port_.SetRTSEnable(true);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return port_.DSRHolding(); }));
    testsupport::RunEventsFor(5);
    events_.clear();
    ice_.ClearTranscript();
  }

  // Sends and waits until the emulator has every byte.
  void Send(const Bytes& bytes) {
    size_t before = ice_.ReceivedBytes().size();
    port_.Output(bytes);
    ASSERT_TRUE(testsupport::WaitUntil(
        [&] { return ice_.ReceivedBytes().size() == before + bytes.size(); }));
  }

  // Waits for n reply bytes and takes them.
  Bytes Reply(int n) {
    EXPECT_TRUE(testsupport::WaitUntil([&] { return port_.InBufferCount() >= n; }));
    port_.SetInputLen(0);
    return port_.Input();
  }

  testdevices::SimulatedIce ice_;
  platform::SerialPort port_;
  std::vector<std::string> events_;
};

}  // namespace icetest
