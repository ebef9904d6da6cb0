// The requests of both hosts to the device programmer, on a port against the
// simulated programmer: reads whole and short, the parameter block,
// the image whole and bytewise with a broken byte, and commands polled to
// their end or their limit.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "platform/serial_exchange.h"
#include "platform/serial_port.h"
#include "protocol/exchange.h"
#include "simulated_programmer.h"
#include "wait_until.h"

namespace {

using protocol::Bytes;
using protocol::ProgrammerExchange;
using testdevices::HexBytes;
using Lines = std::vector<std::string>;

// A limit that counts its arming, with a bound generous for a loaded machine.
class CountedLimit : public platform::DeadlineLimit {
 public:
  explicit CountedLimit(int ms = 20000) : DeadlineLimit(ms) {}
  void Arm() override {
    ++arms;
    DeadlineLimit::Arm();
  }
  int arms = 0;
};

class ProgrammerExchangeTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("TAVIX_COM3", programmer.Endpoint().c_str(), 1);
    port.SetCommPort(3);
    port.SetPortOpen(true);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return programmer.Device().Attached(); }));
    programmer.ClearTranscript();
  }
  void TearDown() override { unsetenv("TAVIX_COM3"); }

  // Each frame whole; a send whose number is in `unsent` fails unsent.
  bool Send(const Bytes& frame) {
    if (unsent.count(++sends) != 0) return false;
    platform::SendPacing pacing;
    pacing.chunk = 0;
    platform::DeadlineLimit limit(20000);
    return platform::SendPaced(port, frame.data(), frame.size(), pacing, limit);
  }
  Lines Frames(size_t count) {
    testsupport::WaitUntil([&] { return programmer.FrameText().size() >= count; });
    return programmer.FrameText();
  }

  testdevices::SimulatedProgrammer programmer;
  platform::SerialPort port;
  ProgrammerExchange exchange{port, [this](const Bytes& frame) { return Send(frame); }};
  std::set<int> unsent;
  int sends = 0;
};

TEST_F(ProgrammerExchangeTest, ReadsTakeTheWholeAnswerOrNothing) {
  const protocol::Parameters parameters{16, 8, 1, true, false};
  EXPECT_TRUE(exchange.SendParameters(parameters));
  port.SetInputLen(2);  // a read takes its whole answer whatever was set
  CountedLimit limit;
  const std::optional<Bytes> block = exchange.Read(protocol::kParameterAddress, 7, limit);
  const Bytes frame = protocol::ParameterFrame(parameters);
  EXPECT_EQ(block, Bytes(frame.begin() + 5, frame.end()));
  EXPECT_EQ(port.InputLen(), 0);
  EXPECT_EQ(Frames(2), (Lines{HexBytes(frame), "A5 00 00 00 07"}));

  // A short answer runs out of its limit; the pump is the host's own.
  programmer.SetShortReply(3);
  int pumps = 0;
  CountedLimit brief(100);
  EXPECT_EQ(exchange.Read(protocol::kParameterAddress, 7, brief, false,
                          [&] {
                            ++pumps;
                            platform::PumpEvents();
                          }),
            std::nullopt);
  EXPECT_EQ(brief.arms, 1);
  EXPECT_GT(pumps, 0);
}

TEST_F(ProgrammerExchangeTest, TheImageGoesWholeOrBytewiseAndAFailedSendSaysWhere) {
  const Bytes file = {0x12, 0x34, 0x56, 0x78, 0x9A};
  const protocol::ImageShape shape{16, 2, 8, true};
  const Lines frame = {HexBytes(protocol::ImageFrame(file, shape))};
  const Bytes data = protocol::ImageData(file, shape);
  EXPECT_EQ(exchange.SendImage(file, shape, false), ProgrammerExchange::ImageEnd::kSent);
  EXPECT_EQ(sends, 1);
  EXPECT_EQ(Frames(1), frame);
  EXPECT_EQ(programmer.Bytes(protocol::kImageAddress, 8), data);

  // Bytewise: the header, then a send per data byte; the device sees one frame.
  programmer.ClearTranscript();
  EXPECT_EQ(exchange.SendImage(file, shape, true), ProgrammerExchange::ImageEnd::kSent);
  EXPECT_EQ(sends, 1 + 1 + 8);
  EXPECT_EQ(Frames(1), frame);

  // A byte not sent breaks the data and ends the sends there.
  sends = 0;
  unsent = {4};
  EXPECT_EQ(exchange.SendImage(file, shape, true), ProgrammerExchange::ImageEnd::kDataBroken);
  EXPECT_EQ(sends, 4);
}

TEST_F(ProgrammerExchangeTest, ACommandIsPolledToItsEndOrItsLimit) {
  int pauses = 0;
  platform::PollSteps steps;
  steps.pause = [&] { ++pauses; };
  steps.beforePoll = [] { return true; };
  steps.read = [&]() -> std::optional<uint8_t> {
    CountedLimit limit;
    const std::optional<Bytes> answer = exchange.Read(protocol::kCommandAddress, 1, limit);
    if (!answer || answer->empty()) return std::nullopt;
    return answer->front();
  };
  // The command, then its register until the bit clears.
  programmer.SetBusyPolls(protocol::kCommandProgrammerSum, 2);
  EXPECT_EQ(exchange.RunCommand(protocol::kCommandProgrammerSum, 0x08, 10, steps),
            platform::PollEnd::kClear);
  EXPECT_EQ(programmer.Polls(), 3);
  EXPECT_EQ(pauses, 3);
  const std::string poll = "A5 00 10 00 01";
  EXPECT_EQ(Frames(4), (Lines{"A6 00 10 00 01 08", poll, poll, poll}));

  // One that never completes stops at the limit.
  programmer.SetNeverCompletes(protocol::kCommandDeviceSum, true);
  EXPECT_EQ(exchange.RunCommand(protocol::kCommandDeviceSum, 0x04, 4, steps),
            platform::PollEnd::kLimit);
  EXPECT_EQ(programmer.Polls(), 3 + 4);
}

}  // namespace
