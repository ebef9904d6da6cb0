// The port against the rig's device end: opening and its errors, rates on
// the pty, data both ways, buffers and their flushes, the output lines, HOLD
// and the send option, and the plain terminal backend.
#include <fcntl.h>
#include <unistd.h>

#include "port_fixture.h"
#include "temp_dir.h"

namespace {

using commtest::ErrorOf;
using commtest::Pattern;
using commtest::PortTest;
using commtest::SpinUntil;
using testsupport::WaitUntil;
using Clock = std::chrono::steady_clock;

TEST_F(PortTest, OpeningReportsBadPathsBusyDevicesAndClosedUse) {
  testsupport::TempDir temp;
  temp.write("plain", "not a port");
  setenv("TAVIX_COM4", temp.file("missing").c_str(), 1);
  setenv("TAVIX_COM5", temp.file("plain").c_str(), 1);
  setenv("TAVIX_COM6", "/dev/null", 1);
  platform::SerialPort other;
  for (int n : {4, 5, 6}) {
    other.SetCommPort(n);
    EXPECT_EQ(ErrorOf([&] { other.SetPortOpen(true); }), 31988) << n;
    EXPECT_FALSE(other.PortOpen());
  }
  unsetenv("TAVIX_COM4");
  unsetenv("TAVIX_COM5");
  unsetenv("TAVIX_COM6");

  // A closed port: lines off, counts 0, data calls refused.
  EXPECT_FALSE(port_.CTSHolding() || port_.DSRHolding() || port_.CDHolding());
  EXPECT_EQ(port_.InBufferCount(), 0);
  EXPECT_EQ(port_.OutBufferCount(), 0);
  EXPECT_EQ(ErrorOf([&] { port_.Input(); }), 31990);
  EXPECT_EQ(ErrorOf([&] { port_.Output({1, 2, 3}); }), 31990);

  port_.SetPortOpen(true);
  EXPECT_TRUE(port_.PortOpen());
  EXPECT_TRUE(WaitUntil([&] { return device_.Attached(); }));
  // The device has a host: a second port is refused, the first keeps working.
  other.SetCommPort(3);
  EXPECT_EQ(ErrorOf([&] { other.SetPortOpen(true); }), 31990);
  EXPECT_FALSE(other.PortOpen());
  port_.Output({9});
  EXPECT_TRUE(WaitUntil([&] { return DeviceGot().size() == 1; }));

  port_.SetPortOpen(false);
  EXPECT_TRUE(WaitUntil([&] { return !device_.Attached(); }));
  device_.SetRefuseHosts(true);
  EXPECT_EQ(ErrorOf([&] { port_.SetPortOpen(true); }), 31990);
  device_.SetRefuseHosts(false);
  port_.SetPortOpen(true);  // the same object opens again once the device allows
  EXPECT_TRUE(port_.PortOpen());
}

TEST_F(PortTest, RatesReachTheDeviceIncludingCustomOnes) {
  port_.SetSettings("baud=14400 parity=N data=8 stop=1");
  port_.SetPortOpen(true);
  EXPECT_EQ(device_.HostRate(), 14400);
  port_.SetSettings("9600,n,8,1");  // applied at once to an open port
  EXPECT_EQ(device_.HostRate(), 9600);
  port_.SetSettings(" 38400,N,8,1");
  EXPECT_EQ(device_.HostRate(), 38400);
  EXPECT_EQ(ErrorOf([&] { port_.SetSettings("38400,N,8,7"); }), 31989);
  EXPECT_EQ(device_.HostRate(), 38400);
  EXPECT_EQ(port_.Settings(), " 38400,N,8,1");
}

TEST_F(PortTest, DataBothWaysWithExactCountsAndFlushes) {
  port_.SetInBufferSize(8192);
  port_.SetPortOpen(true);

  // Out: a full write block and more, byte for byte.
  std::vector<uint8_t> block = Pattern(765 * 3 + 5, 1);
  port_.Output(block);
  EXPECT_TRUE(WaitUntil([&] { return DeviceGot().size() >= block.size(); }));
  EXPECT_EQ(DeviceGot(), block);

  // In: counts are exact without running the event loop.
  std::vector<uint8_t> reply = Pattern(1000, 3);
  device_.Write(reply);
  EXPECT_TRUE(SpinUntil([&] { return port_.InBufferCount() == 1000; }));
  port_.SetInputLen(300);
  std::vector<uint8_t> first = port_.Input();
  EXPECT_EQ(first, std::vector<uint8_t>(reply.begin(), reply.begin() + 300));
  EXPECT_EQ(port_.InBufferCount(), 700);
  port_.SetInputLen(0);
  EXPECT_EQ(port_.Input(), std::vector<uint8_t>(reply.begin() + 300, reply.end()));
  EXPECT_TRUE(port_.Input().empty());

  // The input buffer's size bounds what is pulled; the rest waits in the device.
  port_.SetInBufferSize(100);
  device_.Write(Pattern(250, 5));
  EXPECT_TRUE(SpinUntil([&] { return port_.InBufferCount() == 100; }));
  port_.SetInputLen(0);
  EXPECT_EQ(port_.Input().size(), 100u);
  EXPECT_TRUE(SpinUntil([&] { return port_.InBufferCount() == 100; }));
  port_.SetInBufferCount(0);  // empties the port's buffer and what the device holds
  port_.SetInBufferSize(4096);
  EXPECT_EQ(port_.InBufferCount(), 0);

  // HOLD keeps written bytes in the port; emptying the output drops them.
  device_.SetHold(true);
  EXPECT_EQ(port_.OutBufferCount(), 0);  // also takes in the HOLD record
  port_.Output(Pattern(10));
  EXPECT_EQ(port_.OutBufferCount(), 10);
  port_.SetOutBufferCount(0);
  EXPECT_EQ(port_.OutBufferCount(), 0);
  size_t before = DeviceGot().size();
  device_.SetHold(false);
  port_.Output({0x55});
  EXPECT_TRUE(
      WaitUntil([&] { return port_.OutBufferCount() == 0 && DeviceGot().size() > before; }));
  testsupport::RunEventsFor(20);
  EXPECT_EQ(DeviceGot().size(), before + 1);
  EXPECT_EQ(DeviceGot().back(), 0x55);
}

TEST_F(PortTest, OutputLinesFollowTheProperties) {
  port_.SetDTREnable(true);  // set before opening, applied at open
  port_.SetPortOpen(true);
  EXPECT_TRUE(WaitUntil([&] { return device_.Dtr() && !device_.Rts(); }));
  port_.SetRTSEnable(true);
  port_.SetDTREnable(false);
  EXPECT_TRUE(WaitUntil([&] { return !device_.Dtr() && device_.Rts(); }));
  port_.SetDTREnable(true);
  EXPECT_TRUE(WaitUntil([&] { return device_.Dtr(); }));
  port_.SetPortOpen(false);  // closing drops both, as on a real port
  EXPECT_TRUE(WaitUntil([&] { return !device_.Dtr() && !device_.Rts() && !device_.Attached(); }));
  EXPECT_TRUE(port_.DTREnable() && port_.RTSEnable());  // the properties keep their values
}

TEST_F(PortTest, HoldStallsOutputAndTheSendOptionWaitsBoundedly) {
  port_.SetSettings("9600,N,8,1");
  port_.SetPortOpen(true);
  port_.SetOutputWaits(true);

  auto start = Clock::now();
  port_.Output(Pattern(30));
  EXPECT_EQ(port_.OutBufferCount(), 0);  // the bytes left before Output returned
  EXPECT_TRUE(WaitUntil([&] { return DeviceGot().size() == 30; }));

  device_.SetHold(true);
  EXPECT_EQ(port_.OutBufferCount(), 0);  // takes in the HOLD record
  start = Clock::now();
  port_.Output(Pattern(96));  // 100 ms of bytes at 9600 baud
  auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
  EXPECT_GE(waited.count(), 90);
  EXPECT_LT(waited.count(), 1000);
  EXPECT_GE(port_.OutBufferCount(), 96);

  size_t before = DeviceGot().size();
  int queued = port_.OutBufferCount();
  device_.SetHold(false);
  EXPECT_TRUE(WaitUntil([&] { return port_.OutBufferCount() == 0; }));
  EXPECT_TRUE(
      WaitUntil([&] { return DeviceGot().size() == before + static_cast<size_t>(queued); }));
}

TEST(SerialPortTerminal, APlainTerminalOpensExclusivelyWithLinesOn) {
  testdevices::SerialDevice device;
  setenv("TAVIX_COM7", device.SlavePath().c_str(), 1);
  platform::SerialPort port, second;
  port.SetCommPort(7);
  second.SetCommPort(7);
  port.SetSettings("14400,N,8,1");
  port.SetDTREnable(true);
  port.SetPortOpen(true);
  // A pty has no modem-control ioctls: its input lines read on.
  EXPECT_TRUE(port.CTSHolding() && port.DSRHolding() && port.CDHolding());
  EXPECT_EQ(device.HostRate(), 14400);
  EXPECT_EQ(ErrorOf([&] { second.SetPortOpen(true); }), 31990);

  port.Output({1, 2, 3});
  EXPECT_TRUE(WaitUntil([&] { return device.Received().size() == 3; }));
  device.Write({4, 5});
  EXPECT_TRUE(commtest::SpinUntil([&] { return port.InBufferCount() == 2; }));
  EXPECT_EQ(port.Input(), std::vector<uint8_t>({4, 5}));
  port.SetPortOpen(false);
  second.SetPortOpen(true);  // free again once closed
  EXPECT_TRUE(second.PortOpen());
  unsetenv("TAVIX_COM7");
}

}  // namespace
