// The emulator's fault switches as the link's tests will use them, and the
// resynchronisation by a DTR drop.
#include <chrono>

#include "ice_fixture.h"

namespace {

using icetest::Bytes;
using icetest::IceTest;
using icetest::Lines;
using testsupport::RunEventsFor;
using testsupport::WaitUntil;

TEST_F(IceTest, DtrOffDropsAPartialUnitAndTheRestOfAWriteBlock) {
  Connect();
  Send({0x25, 0x00});
  port_.SetDTREnable(false);
  port_.SetDTREnable(true);
  Send({0x02, 0x44, 0x04, 0x59, 0x0A, 0x01});  // a header of 4 and one unit
  port_.SetDTREnable(false);
  port_.SetDTREnable(true);
  Send({0x25, 0x00, 0x00});  // parsed as a unit again, not as data
  EXPECT_EQ(ice_.TranscriptText(),
            (Lines{"DTR off", "discard 2 bytes 0 units", "DTR on", "02 44 04 write 1100 4",
                   "59 0A 01 data 1100 010A59", "DTR off", "discard 0 bytes 3 units", "DTR on",
                   "25 00 00 word 9"}));
}

TEST_F(IceTest, ReplyFaultsSilenceShortAndLate) {
  Connect();
  ice_.SetSilent(true);
  Send({0x00, 0x44, 0x04});
  RunEventsFor(40);
  EXPECT_EQ(port_.InBufferCount(), 0);
  ice_.SetSilent(false);

  ice_.SetShortReply(5);
  Send({0x00, 0x44, 0x04});
  EXPECT_EQ(Reply(5).size(), 5u);
  RunEventsFor(40);
  EXPECT_EQ(port_.InBufferCount(), 0);
  ice_.SetShortReply(-1);

  ice_.SetReplyDelay(80);
  auto start = std::chrono::steady_clock::now();
  Send({0x00, 0x44, 0x04});
  EXPECT_EQ(Reply(12).size(), 12u);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(75));
}

TEST_F(IceTest, DsrFaultsAndDrops) {
  Connect();
  // DSR that never goes off after DTR off.
  ice_.SetDsrStuckOn(true);
  port_.SetDTREnable(false);
  RunEventsFor(40);
  EXPECT_TRUE(port_.DSRHolding());
  ice_.SetDsrStuckOn(false);
  port_.SetDTREnable(true);

  // A silent emulator: DSR drops and never comes back.
  ice_.SetDsrDead(true);
  port_.SetDTREnable(false);
  port_.SetDTREnable(true);
  RunEventsFor(40);
  EXPECT_FALSE(port_.DSRHolding());
  ice_.SetDsrDead(false);
  ice_.SetDsr(true);
  EXPECT_TRUE(WaitUntil([&] { return port_.DSRHolding(); }));
  RunEventsFor(5);
  EXPECT_EQ(events_, (Lines{"4-", "4+"}));

  // A DSR drop with CTS on (switched off), then with CTS off (link failure):
  // CTS's event comes first, so the DSR handler sees CTS as it is.
  events_.clear();
  ice_.DropDsr(true);
  EXPECT_TRUE(WaitUntil([&] { return events_.size() == 1; }));
  EXPECT_TRUE(port_.CTSHolding());
  ice_.SetDsr(true);
  ice_.DropDsr(false);
  EXPECT_TRUE(WaitUntil([&] { return events_.size() == 4; }));
  EXPECT_EQ(events_, (Lines{"4-", "3-", "4+", "4-"}));  // one check: CTS first

  // Reset word with a DSR low time.
  ice_.Device().SetCts(true);
  ice_.SetDsr(true);
  ice_.SetTimings({1, 30, 1, 2});
  RunEventsFor(5);
  events_.clear();
  Send({0x41, 0x00, 0x00});
  EXPECT_TRUE(WaitUntil([&] { return events_.size() == 2; }));
  EXPECT_EQ(events_, (Lines{"4-", "4+"}));
}

TEST_F(IceTest, CtsHoldOffHoldAndRefusal) {
  Connect();
  ice_.HoldCtsOff(30);
  EXPECT_TRUE(WaitUntil([&] { return events_.size() == 2; }));
  EXPECT_EQ(events_, (Lines{"3-", "3+"}));

  ice_.SetHold(true);
  EXPECT_EQ(port_.OutBufferCount(), 0);
  port_.Output({0x25, 0x00, 0x00});
  RunEventsFor(30);
  EXPECT_EQ(port_.OutBufferCount(), 3);
  EXPECT_TRUE(ice_.ReceivedBytes().empty());
  ice_.SetHold(false);
  EXPECT_TRUE(WaitUntil([&] { return ice_.Words() == std::vector<int>{9}; }));
  EXPECT_EQ(port_.OutBufferCount(), 0);

  platform::SerialPort second;
  second.SetCommPort(2);
  try {
    second.SetPortOpen(true);
    ADD_FAILURE() << "a second host was accepted";
  } catch (const platform::RunTimeError& e) {
    EXPECT_EQ(e.Number(), 31990);
  }
}

}  // namespace
