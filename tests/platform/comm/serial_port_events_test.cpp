// Communication events: line changes by transition with the edge's level
// inside the handler, short pulses, handlers that close the port or wait with
// nested event processing, the CTS/DSR time-outs and a device that goes away.
#include <memory>
#include <string>

#include "port_fixture.h"

namespace {

using commtest::ErrorOf;
using commtest::Pattern;
using commtest::PortTest;
using testsupport::RunEventsFor;
using testsupport::WaitUntil;

class PortEventsTest : public PortTest {
 protected:
  // Records each event as "<code> <CTS><DSR><CD>" with the getters' levels
  // inside the handler.
  void Record() {
    port_.SetOnComm(
        [this] { seen_.push_back(std::to_string(port_.CommEvent()) + " " + Levels()); });
  }
  std::string Levels() {
    return std::string(port_.CTSHolding() ? "1" : "0") + (port_.DSRHolding() ? "1" : "0") +
           (port_.CDHolding() ? "1" : "0");
  }
  std::vector<std::string> seen_;
};

TEST_F(PortEventsTest, EveryTransitionIsOneEventInLineOrder) {
  device_.SetCts(true);
  device_.SetCd(true);
  Record();
  port_.SetPortOpen(true);
  RunEventsFor(30);
  EXPECT_TRUE(seen_.empty());  // the levels found at open give no event
  EXPECT_EQ(Levels(), "101");

  // Changes made faster than any check: each transition still counts, in
  // the order CTS, DSR, CD, and each handler sees its own edge.
  device_.SetCd(false);
  device_.SetDsr(true);
  device_.SetCts(false);
  device_.SetCts(true);
  device_.SetCts(false);
  EXPECT_TRUE(WaitUntil([&] { return seen_.size() == 5; }));
  EXPECT_EQ(seen_, (std::vector<std::string>{"3 010", "3 110", "3 010", "4 010", "5 010"}));
  EXPECT_EQ(Levels(), "010");  // outside the handler: the current levels

  // A CD pulse shorter than any check: off, then on.
  seen_.clear();
  device_.SetCd(true);
  EXPECT_TRUE(WaitUntil([&] { return seen_.size() == 1; }));
  device_.PulseCd();
  EXPECT_TRUE(WaitUntil([&] { return seen_.size() == 3; }));
  EXPECT_EQ(seen_, (std::vector<std::string>{"5 011", "5 010", "5 011"}));
  EXPECT_TRUE(port_.CDHolding());

  // After close, no events.
  seen_.clear();
  port_.SetPortOpen(false);
  device_.SetCts(true);
  RunEventsFor(30);
  EXPECT_TRUE(seen_.empty());
}

TEST_F(PortEventsTest, AHandlerMayCloseThePortOrWaitInside) {
  // Closing inside the first of several queued events drops the others.
  port_.SetOnComm([this] {
    seen_.push_back(std::to_string(port_.CommEvent()));
    port_.SetPortOpen(false);
  });
  port_.SetPortOpen(true);
  device_.SetCts(true);
  device_.SetDsr(true);
  device_.SetCd(true);
  EXPECT_TRUE(WaitUntil([&] { return !seen_.empty(); }));
  RunEventsFor(30);
  EXPECT_EQ(seen_, std::vector<std::string>{"3"});
  EXPECT_FALSE(port_.PortOpen());

  // The port opens again; a DSR-off handler runs a handshake with a nested
  // wait for DSR on, which the device raises while the handler waits.
  seen_.clear();
  bool nestedSawDsr = false;
  port_.SetOnComm([&] {
    seen_.push_back(std::to_string(port_.CommEvent()) + (port_.DSRHolding() ? "+" : "-"));
    if (port_.CommEvent() == platform::SerialPort::kEventDsr && !port_.DSRHolding()) {
      device_.After(20, [&] { device_.SetDsr(true); });
      nestedSawDsr = WaitUntil([&] { return port_.DSRHolding(); }, 1000);
      port_.Output({0x25, 0, 0});  // the port still works inside
    }
  });
  ASSERT_TRUE(WaitUntil([&] { return !device_.Attached(); }));
  port_.SetPortOpen(true);
  device_.SetDsr(false);
  EXPECT_TRUE(WaitUntil([&] { return seen_.size() == 2; }));
  EXPECT_TRUE(nestedSawDsr);
  EXPECT_EQ(seen_, (std::vector<std::string>{"4-", "4+"}));
  EXPECT_TRUE(WaitUntil([&] { return device_.Received().size() == 3; }));
}

TEST_F(PortEventsTest, StalledOutputGivesOneTimeoutPerStall) {
  Record();
  port_.SetCTSTimeout(40);
  port_.SetDSRTimeout(60);
  port_.SetPortOpen(true);
  device_.SetCts(false);  // CTS was off already: no event; DSR off too
  device_.SetHold(true);
  RunEventsFor(100);
  EXPECT_TRUE(seen_.empty());  // nothing waiting, no time-out

  port_.Output(Pattern(5));
  EXPECT_TRUE(WaitUntil([&] { return seen_.size() == 2; }));
  RunEventsFor(150);
  EXPECT_EQ(seen_, (std::vector<std::string>{"1002 000", "1003 000"}));

  // The stall ends with CTS on and begins again when it drops.
  seen_.clear();
  device_.SetCts(true);
  EXPECT_TRUE(WaitUntil([&] { return seen_.size() == 1; }));
  device_.SetCts(false);
  EXPECT_TRUE(WaitUntil([&] { return seen_.size() == 3; }));
  RunEventsFor(100);
  EXPECT_EQ(seen_, (std::vector<std::string>{"3 100", "3 000", "1002 000"}));

  // Bytes that leave end every stall.
  seen_.clear();
  port_.SetCTSTimeout(0);
  device_.SetHold(false);
  EXPECT_TRUE(WaitUntil([&] { return port_.OutBufferCount() == 0; }));
  RunEventsFor(100);
  EXPECT_TRUE(seen_.empty());
}

TEST(SerialPortDeviceLoss, ALostDeviceDropsEveryLineWithItsEvent) {
  auto device = std::make_unique<testdevices::SerialDevice>();
  setenv("TAVIX_COM8", device->Endpoint().c_str(), 1);
  platform::SerialPort port;
  port.SetCommPort(8);
  device->SetCts(true);
  device->SetDsr(true);
  std::vector<int> codes;
  port.SetOnComm([&] { codes.push_back(port.CommEvent()); });
  port.SetPortOpen(true);
  EXPECT_TRUE(port.CTSHolding() && port.DSRHolding() && !port.CDHolding());

  device.reset();
  EXPECT_TRUE(WaitUntil([&] { return codes.size() == 2; }));
  RunEventsFor(30);
  EXPECT_EQ(codes, (std::vector<int>{3, 4}));
  EXPECT_FALSE(port.CTSHolding() || port.DSRHolding());
  EXPECT_EQ(ErrorOf([&] {
              for (int i = 0; i < 100; ++i) port.Output(Pattern(1000));
            }),
            31990);
  port.SetPortOpen(false);
  unsetenv("TAVIX_COM8");
}

}  // namespace
