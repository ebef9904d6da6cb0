// The emulator link against the simulated emulator: the state table, the
// units and blocks on the wire, reads in chunks, the send and read failures
// and the handshake that recovers them.
#include "emulator/emulator_link.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <algorithm>
#include <array>

#include "core/main_module.h"
#include "emulator_fixture.h"
#include "platform/clock.h"
#include "platform/run_time_error.h"
#include "wait_until.h"

namespace {

using monitor::EmulatorLink;
using monitortest::EmulatorTest;
using platform::RunTimeError;
using Lines = std::vector<std::string>;

int NumberOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const RunTimeError& error) {
    return error.Number();
  }
  return 0;
}

TEST(LinkStateTable, EveryStateAndEventWithItsBeep) {
  // Per state 0..7, the result of events 1..8; "!" marks a beep.
  const char* expected[8][8] = {
      {"0", "0", "0", "0", "0", "0", "0", "0"},  {"1", "2", "6", "4", "3", "1", "7!", "5"},
      {"1", "2", "2", "2", "2", "2", "2", "2"},  {"3", "3", "3", "3", "3", "1", "7!", "5"},
      {"4", "4", "4", "4", "4", "1", "7!", "5"}, {"5", "2", "5", "5", "5", "1", "7!", "7!"},
      {"6", "6", "6", "6", "6", "1", "7!", "5"}, {"7", "7", "7", "7", "7", "7", "7", "5"},
  };
  for (int16_t state = 0; state < 8; ++state) {
    for (int16_t event = 0; event <= 9; ++event) {
      const monitor::LinkStep step = monitor::NextLinkState(state, event);
      const std::string got = std::to_string(step.state) + (step.beep ? "!" : "");
      const std::string want =
          event >= 1 && event <= 8 ? expected[state][event - 1] : std::to_string(state);
      EXPECT_EQ(got, want) << "state " << state << " event " << event;
    }
  }
}

class EmulatorLinkTest : public EmulatorTest {
 protected:
  void SetUp() override {
    state.TargetState = 1;  // a session that a DSR drop cannot disconnect
    OpenLink();
  }
  bool WaitForUnits(size_t n) {
    return testsupport::WaitUntil([&] { return ice.Transcript().size() >= n; });
  }
};

TEST_F(EmulatorLinkTest, UnitsAndBlocksAreExactOnTheWire) {
  EmulatorLink& link = Link();
  EXPECT_EQ(link.SendWord(9), 1);
  EXPECT_EQ(link.SendValue(0x1100, 4), 1);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return link.Port().InBufferCount() == 12; }));
  link.Port().SetInBufferCount(0);
  EXPECT_EQ(link.SendValueEx(0x1100, 4), 1);
  EXPECT_EQ(link.SendBytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), 1);
  // Out of range: overflow, nothing sent.
  EXPECT_EQ(NumberOf([&] { link.SendValue(16384, 1); }), 6);
  EXPECT_EQ(NumberOf([&] { link.SendValueEx(0, 256); }), 6);

  std::vector<uint8_t> block(256 * 3);
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i * 7);
  link.SendCommand(0x0100, block);
  EXPECT_EQ(state.LinkState, 1);
  ASSERT_TRUE(WaitForUnits(265));
  const Lines wire = ice.TranscriptText();
  ASSERT_EQ(wire.size(), 265u);
  EXPECT_EQ(wire[0], "25 00 00 word 9");
  EXPECT_EQ(wire[1], "00 44 04 read 1100 4");
  EXPECT_EQ(wire[2], "02 44 04 write 1100 4");
  EXPECT_EQ(wire[3], "01 02 03 data 1100 030201");
  EXPECT_EQ(wire[7], "02 04 FF write 0100 255");
  EXPECT_EQ(wire[263], "FE 07 01 write 01FF 1");
  for (int unit = 0; unit < 256; ++unit) {
    const size_t i = static_cast<size_t>(unit) * 3;
    EXPECT_EQ(ice.Unit(0x100 + unit), block[i] | block[i + 1] << 8 | block[i + 2] << 16) << unit;
  }

  // Not idle: the word is refused without a byte.
  link.ClosePort();
  EXPECT_EQ(link.SendWord(9), 0);
  EXPECT_EQ(state.LinkState, 2);
}

TEST_F(EmulatorLinkTest, ReadsInChunksAndAShortReplyFailsUntilTheHandshake) {
  for (int i = 0; i < 300; ++i) ice.SetUnit(0x2000 + i, static_cast<uint32_t>(i * 0x10101));
  const std::vector<uint8_t> bytes = Link().ReceiveData(0x2000, 300).value();
  EXPECT_EQ(state.LinkState, 1);
  EXPECT_EQ(Link().Timeouttimer().interval(), 45 * Link().Timings().readUnitMs);
  EXPECT_EQ(ice.TranscriptText(), (Lines{"00 80 FF read 2000 255", "FC 83 2D read 20FF 45"}));
  ASSERT_EQ(bytes.size(), 900u);
  for (size_t i = 0; i < 300; ++i) {
    EXPECT_EQ(bytes[i * 3] | bytes[i * 3 + 1] << 8 | bytes[i * 3 + 2] << 16,
              (i * 0x10101) & 0xFFFFFF);
  }

  ice.SetShortReply(5);
  EXPECT_EQ(NumberOf([&] { Link().ReceiveData(0x1100, 4); }), 32000);
  EXPECT_EQ(state.LinkState, 7);
  EXPECT_EQ(beeps, 1);
  EXPECT_TRUE(boxes.empty());
  // A failed link refuses work until the poll step's handshake.
  EXPECT_EQ(Link().ReceiveData(0x1100, 4), std::nullopt);
  ice.SetShortReply(-1);
  ice.ClearTranscript();
  monitor::PollStep(state);
  EXPECT_EQ(state.LinkState, 1);
  EXPECT_EQ(ice.TranscriptText(), (Lines{"DTR off", "DTR on"}));
  EXPECT_EQ(Link().Port().InBufferCount(), 0);  // the stale reply is gone
  EXPECT_EQ(Link().ReceiveData(0x1100, 4).value().size(), 12u);
}

TEST_F(EmulatorLinkTest, StrayBytesNeverShiftAnAnswer) {
  EmulatorLink& link = Link();
  const std::array<uint8_t, 12> packet{10, 0x44, 1, 0x23, 0x45, 0x67, 0x89, 10, 0, 0xBC, 29, 63};
  ice.SetStatePacket(packet);
  const std::vector<uint8_t> answer(packet.begin(), packet.end());
  // Noise before the request is no part of the answer.
  ice.Device().Write({0x55});
  ASSERT_TRUE(testsupport::WaitUntil([&] { return link.Port().InBufferCount() == 1; }));
  EXPECT_EQ(link.ReceiveData(0x1100, 4), answer);
  EXPECT_EQ(state.LinkState, 1);
  // A byte that arrives after the request makes the answer one too long: a
  // failed link, which the poll step recovers, and the next read is exact.
  // The emulator holds its answer; once the read waits for it, the stray
  // byte and then the answer arrive.
  ice.SetSilent(true);
  QTimer::singleShot(0, [&] {
    std::vector<uint8_t> late{0x55};
    late.insert(late.end(), answer.begin(), answer.end());
    ice.Device().Write(late);
  });
  EXPECT_EQ(NumberOf([&] { link.ReceiveData(0x1100, 4); }), 32000);
  EXPECT_EQ(state.LinkState, 7);
  ice.SetSilent(false);
  monitor::PollStep(state);
  EXPECT_EQ(link.ReceiveData(0x1100, 4), answer);
  EXPECT_EQ(state.LinkState, 1);
}

TEST_F(EmulatorLinkTest, SendsWaitForTheirLinesWithinTheUnitTime) {
  // Unbuffered, DSR off: the message after the unit's time, nothing sent.
  ice.SetDsrDead(true);
  const int64_t start = platform::MonotonicMicros();
  EXPECT_EQ(Link().SendValue(0, 1), 0);
  EXPECT_GE(platform::MonotonicMicros() - start, 30000);
  EXPECT_EQ(boxes, (Lines{"|Communication Error timeout DSR |0"}));
  EXPECT_EQ(state.LinkState, 1);
  ice.SetDsrDead(false);
  ice.SetDsr(true);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return Link().Port().DSRHolding(); }));

  // Buffered: CTS held off within the unit time is waited for; beyond it
  // fails the block at its header, and no data follows once CTS is back.
  state.LinkBuffered = 1;
  Link().Timings().sendUnitMs = 3000;
  ice.HoldCtsOff(10);
  EXPECT_EQ(Link().SendWord(9), 1);
  Link().Timings().sendUnitMs = 30;
  ice.HoldCtsOff(-1);
  Link().SendCommand(0x1100, std::vector<uint8_t>(12, 0x55));
  EXPECT_EQ(state.LinkState, 7);
  EXPECT_EQ(boxes.size(), 2u);
  ice.HoldCtsOff(0);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !ice.TranscriptText().empty(); }));
  testsupport::RunEventsFor(70);
  EXPECT_EQ(ice.TranscriptText(), (Lines{"25 00 00 word 9"}));
}

TEST_F(EmulatorLinkTest, AStalledOutputEndsWithinTheDrainBound) {
  ice.SetHold(true);
  const int64_t start = platform::MonotonicMicros();
  EXPECT_EQ(NumberOf([&] { Link().SendWord(9); }), 31995);
  EXPECT_EQ(state.LinkState, 7);
  monitor::PollStep(state);  // the handshake empties the stalled output
  EXPECT_EQ(state.LinkState, 1);
  Link().SendCommand(0x1100, std::vector<uint8_t>(12, 0));
  EXPECT_EQ(state.LinkState, 7);
  EXPECT_LT(platform::MonotonicMicros() - start, 2000000);
  ice.SetHold(false);
  monitor::PollStep(state);
  EXPECT_EQ(Link().SendWord(9), 1);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return ice.Words() == std::vector<int>{9}; }));
}

TEST_F(EmulatorLinkTest, PortOpensOnlyWhenClosedAndTheTimeOutFiresOnce) {
  Link().OpenPort();
  Link().ClosePort();
  EXPECT_EQ(state.LinkState, 2);
  EXPECT_FALSE(Link().Port().PortOpen());
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !ice.Device().Attached(); }));
  Link().OpenPort();
  EXPECT_EQ(state.LinkState, 1);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return ice.Device().Dtr() && ice.Device().Rts(); }));
  const Lines wire = ice.TranscriptText();
  EXPECT_EQ(std::count(wire.begin(), wire.end(), "detach"), 1);
  EXPECT_EQ(std::count(wire.begin(), wire.end(), "attach"), 1);
  EXPECT_EQ(ice.Device().HostRate(), 38400);

  Link().StartLinkTimeout(5);
  EXPECT_FALSE(Link().LinkTimedOut());
  EXPECT_TRUE(testsupport::WaitUntil([&] { return Link().LinkTimedOut(); }));
  EXPECT_FALSE(Link().LinkTimedOut());
}

TEST_F(EmulatorLinkTest, DsrThatNeverFollowsClosesTheSessionAndThePort) {
  state.TargetState = 2;
  ice.SetDsrStuckOn(true);
  Link().Timings().handshakeMs = 300;
  Link().PollEmulator();
  EXPECT_EQ(state.TargetState, 1);
  EXPECT_EQ(state.LinkState, 2);
  EXPECT_FALSE(Link().Port().PortOpen());
}

}  // namespace
