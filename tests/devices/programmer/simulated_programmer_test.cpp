// The simulated programmer through a real port: frames joined across reads,
// the parameter block and the image, command completion over polls with both
// signatures, and the fault switches.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "platform/serial_port.h"
#include "simulated_programmer.h"
#include "wait_until.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;
using testdevices::SimulatedProgrammer;
using testsupport::RunEventsFor;
using testsupport::WaitUntil;

class ProgrammerDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TAVIX_COM3", programmer_.Endpoint().c_str(), 1);
    port_.SetCommPort(3);
    port_.SetSettings("9600,N,8,1");
    port_.SetPortOpen(true);
  }
  void TearDown() override { unsetenv("TAVIX_COM3"); }

  void Send(const Bytes& bytes) {
    const size_t before = programmer_.ReceivedBytes().size();
    port_.Output(bytes);
    ASSERT_TRUE(
        WaitUntil([&] { return programmer_.ReceivedBytes().size() == before + bytes.size(); }));
  }
  Bytes Read(int address, int count, int expect = -1) {
    Send({0xA5, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address), 0,
          static_cast<uint8_t>(count)});
    const int n = expect < 0 ? count : expect;
    EXPECT_TRUE(WaitUntil([&] { return port_.InBufferCount() >= n; }));
    RunEventsFor(5);
    port_.SetInputLen(0);
    return port_.Input();
  }

  SimulatedProgrammer programmer_;
  platform::SerialPort port_;
};

TEST_F(ProgrammerDeviceTest, ProgramsTheImageAndAnswersBothSignatures) {
  EXPECT_TRUE(port_.CTSHolding() && port_.DSRHolding());
  // Parameters of a 4-word ROM (2 blocks of 4 bytes), split inside the header.
  Send({0xA6, 0x00});
  Send({0x00, 0x00, 0x07, 0x10, 0x00});
  Send({0x00, 0x04, 0x02, 0x00, 0x01});
  // The image of the file bytes 12 34, one byte per send.
  Send({0xA6, 0x01, 0x00, 0x00, 0x08});
  for (uint8_t byte : Bytes{0xCB, 0xED, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) Send({byte});
  EXPECT_EQ(programmer_.ImageBytes(), 8);
  EXPECT_EQ(programmer_.Bytes(0, 7), (Bytes{0x10, 0x00, 0x00, 0x04, 0x02, 0x00, 0x01}));

  programmer_.SetBusyPolls(SimulatedProgrammer::kProgrammerCrc, 2);
  Send({0xA6, 0x00, 0x10, 0x00, 0x01, 0x08});
  EXPECT_EQ(Read(0x10, 1), Bytes{0x08});
  EXPECT_EQ(Read(0x10, 1), Bytes{0x08});
  EXPECT_EQ(Read(0x10, 1), Bytes{0x00});
  EXPECT_EQ(Read(0x22, 2), (Bytes{0x4B, 0x43}));

  // Stand-alone keeps its bit beside a running command; a chip is programmed.
  Send({0xA6, 0x00, 0x10, 0x00, 0x01, 0x10, 0xA6, 0x00, 0x10, 0x00, 0x01, 0x02});
  EXPECT_EQ(Read(0x00, 0x30)[0x10], 0x10);
  EXPECT_EQ(programmer_.Chip(8), (Bytes{0xCB, 0xED, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  Send({0xA6, 0x00, 0x10, 0x00, 0x01, 0x00, 0xA6, 0x00, 0x10, 0x00, 0x01, 0x04, 0x3C});
  EXPECT_EQ(Read(0x10, 1), Bytes{0x00});
  EXPECT_EQ(Read(0x26, 2), (Bytes{0x4B, 0x43}));
  Send({0xA6, 0x00, 0x10, 0x00, 0x01, 0x01});
  EXPECT_EQ(programmer_.Errors(), 1);
  EXPECT_EQ(programmer_.Polls(), 5);

  const Lines frames = programmer_.FrameText();
  ASSERT_EQ(frames.size(), 16u);
  EXPECT_EQ(frames[0], "A6 00 00 00 07 10 00 00 04 02 00 01");
  EXPECT_EQ(frames[1], "A6 01 00 00 08 CB ED FF FF FF FF FF FF");
  EXPECT_EQ(frames[12], "3C");
  EXPECT_EQ(programmer_.TranscriptText().front(), "attach");
}

TEST_F(ProgrammerDeviceTest, FaultSwitches) {
  Send({0xA6, 0x00, 0x00, 0x00, 0x07, 0x10, 0x00, 0x00, 0x04, 0x01, 0x00, 0x00});
  Send({0xA6, 0x01, 0x00, 0x00, 0x04, 0x01, 0x02, 0x03, 0x04});
  // The chip arrives at the second read of its byte; programming corrupts byte 1.
  programmer_.InsertChipAtRead(2);
  EXPECT_EQ(Read(0x0B, 1), Bytes{0x00});
  EXPECT_EQ(Read(0x0B, 1), Bytes{0x01});
  programmer_.CorruptChipByte(1, 0x80);
  Send({0xA6, 0x00, 0x10, 0x00, 0x01, 0x02});
  Read(0x10, 1);
  EXPECT_EQ(programmer_.Chip(4), (Bytes{0x01, 0x82, 0x03, 0x04}));
  // An empty socket reads as an erased chip.
  programmer_.SetChipPresent(false);
  Send({0xA6, 0x00, 0x10, 0x00, 0x01, 0x04});
  Read(0x10, 1);
  const Bytes erased(4, 0xFF);
  const uint16_t sum = SimulatedProgrammer::Signature(erased.data(), 2);
  EXPECT_EQ(Read(0x26, 2), (Bytes{static_cast<uint8_t>(sum), static_cast<uint8_t>(sum >> 8)}));

  programmer_.SetNeverCompletes(SimulatedProgrammer::kProgram, true);
  Send({0xA6, 0x00, 0x10, 0x00, 0x01, 0x02});
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Read(0x10, 1), Bytes{0x02});

  programmer_.SetShortReply(1);
  EXPECT_EQ(Read(0x07, 4, 1), Bytes{0x00});
  programmer_.SetShortReply(-1);
  programmer_.SetExtraReply({0xEE, 0xEF});
  EXPECT_EQ(Read(0x0B, 1, 3), (Bytes{0x00, 0xEE, 0xEF}));
  programmer_.SetExtraReply({});
  programmer_.SetSilent(true);
  Send({0xA5, 0x00, 0x00, 0x00, 0x30});
  RunEventsFor(30);
  EXPECT_EQ(port_.InBufferCount(), 0);
  programmer_.SetSilent(false);
  programmer_.SetReplyDelay(60);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Read(0x0B, 1).size(), 1u);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(55));

  // DTR off drops a partial frame; the next byte starts a frame again.
  programmer_.ClearTranscript();
  port_.SetDTREnable(true);
  Send({0xA6, 0x00, 0x10, 0x00});
  port_.SetDTREnable(false);
  ASSERT_TRUE(WaitUntil([&] { return !programmer_.Device().Dtr(); }));
  Send({0xA6, 0x00, 0x10, 0x00, 0x01, 0x01});
  EXPECT_EQ(programmer_.TranscriptText(),
            (Lines{"DTR on", "DTR off", "discard 4 bytes", "A6 00 10 00 01 01"}));

  // Line drops and a stalled output.
  programmer_.DropDsr(false);
  EXPECT_TRUE(WaitUntil([&] { return !port_.DSRHolding() && !port_.CTSHolding(); }));
  programmer_.SetHold(true);
  RunEventsFor(10);
  port_.Output({0xA5});
  RunEventsFor(20);
  EXPECT_EQ(port_.OutBufferCount(), 1);
  programmer_.SetHold(false);
  EXPECT_TRUE(WaitUntil([&] { return port_.OutBufferCount() == 0; }));
}

}  // namespace
