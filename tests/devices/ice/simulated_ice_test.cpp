// The simulated emulator through a real port: the host lines in the
// transcript, units joined across reads, memory reads and writes, and the
// command words' reactions on CD and the program counter.
#include "ice_fixture.h"

namespace {

using icetest::Bytes;
using icetest::IceTest;
using icetest::Lines;
using testdevices::SimulatedIce;
using testsupport::RunEventsFor;
using testsupport::WaitUntil;

TEST_F(IceTest, HostLinesDriveDsrAndAppearInTheTranscript) {
  port_.SetPortOpen(true);
  EXPECT_TRUE(port_.CDHolding() && port_.CTSHolding() && !port_.DSRHolding());
  EXPECT_EQ(ice_.Device().HostRate(), 14400);
  port_.SetDTREnable(true);
  port_.SetRTSEnable(true);
  EXPECT_TRUE(WaitUntil([&] { return port_.DSRHolding(); }));
  // The reset handshake: DSR follows DTR off and on.
  port_.SetDTREnable(false);
  EXPECT_TRUE(WaitUntil([&] { return !port_.DSRHolding(); }));
  port_.SetDTREnable(true);
  EXPECT_TRUE(WaitUntil([&] { return port_.DSRHolding(); }));
  RunEventsFor(5);
  EXPECT_EQ(events_, (Lines{"4+", "4-", "4+"}));
  port_.SetPortOpen(false);  // closing counts as DTR off
  EXPECT_TRUE(WaitUntil([&] { return !ice_.Device().Dsr(); }));
  EXPECT_EQ(ice_.TranscriptText(), (Lines{"attach", "DTR on", "RTS on", "DTR off", "DTR on",
                                          "DTR off", "RTS off", "detach"}));
}

TEST_F(IceTest, AStepExchangeIsByteExactAcrossSplitUnits) {
  Connect();
  // The state packet behind its write header, split inside units and across them.
  Send({0x02});
  Send({0x44, 0x04, 0x59});
  Send({0x0A});
  Send({0x01, 0x23, 0x61, 0x45, 0x89, 0x07, 0x00, 0x00, 0x00, 0x00});
  EXPECT_EQ(ice_.StatePacket(),
            (std::array<uint8_t, 12>{0x59, 0x0A, 0x01, 0x23, 0x61, 0x45, 0x89, 0x07, 0, 0, 0, 0}));
  EXPECT_EQ(ice_.ProgramCounter(), 0x456);  // level code 1: the second stack entry

  Send({0x31, 0x00, 0x00});  // word 12: step
  EXPECT_TRUE(WaitUntil([&] { return events_.size() == 2; }));
  EXPECT_EQ(events_, (Lines{"5-", "5+"}));
  EXPECT_EQ(ice_.ProgramCounter(), 0x457);

  Send({0x00, 0x44, 0x04});
  EXPECT_EQ(Reply(12), (Bytes{0x59, 0x0A, 0x01, 0x23, 0x71, 0x45, 0x89, 0x07, 0, 0, 0, 0}));
  EXPECT_EQ(ice_.TranscriptText(),
            (Lines{"02 44 04 write 1100 4", "59 0A 01 data 1100 010A59",
                   "23 61 45 data 1101 456123", "89 07 00 data 1102 000789",
                   "00 00 00 data 1103 000000", "31 00 00 word 12", "00 44 04 read 1100 4"}));
  EXPECT_EQ(ice_.Words(), (std::vector<int>{12}));
  EXPECT_EQ(ice_.ReceivedBytes().size(), 21u);
}

TEST_F(IceTest, MemoryReadsAndWritesFollowTheMap) {
  Connect();
  // Power-up contents: program filler, cleared conditions, reset trace.
  Send({0x00, 0x00, 0x02});
  EXPECT_EQ(Reply(6), (Bytes{0xFF, 0xF0, 0x00, 0xFF, 0xF0, 0x00}));
  Send({0x00, 0x7E, 0x01, 0x00, 0x80, 0x01});  // 0x1F80 and 0x2000
  EXPECT_EQ(Reply(6), (Bytes{0x00, 0x20, 0x00, 0xFF, 0xFF, 0xFF}));

  // The chip changes its RAM: the data re-read sees it.
  ice_.SetUnit(SimulatedIce::kDataCells + 5, 0x00000C);
  Send({0x00, 0x42, 0x7F});
  Bytes cells = Reply(127 * 3);
  ASSERT_EQ(cells.size(), 381u);
  EXPECT_EQ(cells[15], 0x0C);

  // A download split at 255 units, then the data-cell conditions.
  Bytes download = {0x02, 0x00, 0xFF};
  for (int i = 0; i < 255; ++i)
    download.insert(download.end(), {static_cast<uint8_t>(i), 0x10, 0x03});
  download.insert(download.end(), {0xFE, 0x03, 0x01, 0x34, 0x12, 0x00});
  download.insert(download.end(), {0x02, 0x7E, 0x80});
  for (int n = 0; n < 128; ++n) download.insert(download.end(), {0x00, 0x20, 0x01});
  ice_.ClearTranscript();
  Send(download);
  EXPECT_EQ(ice_.Unit(0), 0x031000u);
  EXPECT_EQ(ice_.Unit(254), 0x0310FEu);
  EXPECT_EQ(ice_.Unit(255), 0x001234u);
  EXPECT_EQ(ice_.Unit(256), 0x00F0FFu);
  EXPECT_EQ(ice_.Unit(SimulatedIce::kConditions + 127), 0x012000u);
  Lines t = ice_.TranscriptText();
  ASSERT_EQ(t.size(), 1u + 255 + 1 + 1 + 1 + 128);
  EXPECT_EQ(t[0], "02 00 FF write 0000 255");
  EXPECT_EQ(t[256], "FE 03 01 write 00FF 1");
  EXPECT_EQ(t[257], "34 12 00 data 00FF 001234");
  EXPECT_EQ(t[258], "02 7E 80 write 1F80 128");

  // A full read block comes back whole.
  Send({0x00, 0x00, 0xFF});
  Bytes block = Reply(765);
  ASSERT_EQ(block.size(), 765u);
  EXPECT_EQ(Bytes(block.begin() + 762, block.end()), (Bytes{0xFE, 0x10, 0x03}));
}

TEST_F(IceTest, CommandWordsActOnCdAndTheProgramCounter) {
  Connect();
  ice_.SetStatePacket({0x59, 0x0A, 0x00, 0x23, 0x01, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(ice_.ProgramCounter(), 0x123);

  Send({0x29, 0x00, 0x00});  // word 10: go
  EXPECT_TRUE(WaitUntil([&] { return events_.size() == 1; }));
  EXPECT_TRUE(ice_.Running());
  Send({0x25, 0x00, 0x00});  // word 9: stop
  EXPECT_TRUE(WaitUntil([&] { return events_.size() == 2; }));
  EXPECT_FALSE(ice_.Running());

  ice_.ScriptGoHalt(15, 0x3FF);  // a go that hits a breakpoint
  Send({0x09, 0x00, 0x00});
  EXPECT_TRUE(WaitUntil([&] { return events_.size() == 4; }));
  EXPECT_EQ(ice_.ProgramCounter(), 0x3FF);
  EXPECT_FALSE(ice_.Running());

  ice_.SetStepTooShort(true);  // the step ends before any check could see CD off
  Send({0x11, 0x00, 0x00});
  EXPECT_TRUE(WaitUntil([&] { return events_.size() == 6; }));
  EXPECT_EQ(ice_.ProgramCounter(), 0x400);
  EXPECT_EQ(events_, (Lines{"5-", "5+", "5-", "5+", "5-", "5+"}));

  // Reset acts before step in one word: the packet clears, then the step.
  events_.clear();
  ice_.SetStepTooShort(false);
  Send({0x51, 0x00, 0x00});  // 20: reset + step
  EXPECT_TRUE(WaitUntil([&] { return events_.size() == 2; }));
  EXPECT_EQ(ice_.StatePacket(), (std::array<uint8_t, 12>{0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));

  // A test's own step action; other bits and tag 3 are only recorded.
  ice_.SetStepAction([&] { ice_.Device().PulseCd(); });
  Send({0x11, 0x00, 0x00, 0x01, 0x01, 0x00, 0x07, 0x00, 0x00});  // 4, 64, unknown
  EXPECT_TRUE(WaitUntil([&] { return events_.size() == 4; }));
  RunEventsFor(10);
  EXPECT_EQ(ice_.ProgramCounter(), 1);
  EXPECT_EQ(ice_.Words(), (std::vector<int>{10, 9, 2, 4, 20, 4, 64}));
  EXPECT_EQ(ice_.TranscriptText().back(), "07 00 00 unknown");
}

TEST_F(IceTest, AScriptedHaltLeavesItsUnitsInMemoryThenRaisesCd) {
  Connect();
  const std::array<uint8_t, 12> packet{0x03, 0x00, 0xA4, 0x1C, 0x00, 0, 0, 0, 0, 0x15, 0x80, 0};
  std::vector<testdevices::IceUnit> units = SimulatedIce::PacketUnits(packet);
  units.push_back({SimulatedIce::kDataCells + 5, 0x09});
  units.push_back({SimulatedIce::kTrace + 0, SimulatedIce::TraceUnit(0x123, 0xA, 5)});
  units.push_back({SimulatedIce::kTrace + 1, SimulatedIce::TraceUnit(0xFFF, 0, 0xFA)});

  // A halt cancelled by a reset leaves nothing behind, even after its time.
  ice_.ScriptGoWrite(20, {{SimulatedIce::kDataCells + 6, 0x0E}});
  Send({0x09, 0x00, 0x00});  // word 2: go
  Send({0x41, 0x00, 0x00});  // word 16: reset
  ice_.ScriptGoWrite(40, units);
  Send({0x09, 0x00, 0x00});
  EXPECT_TRUE(WaitUntil([&] { return events_.size() == 4; }));
  EXPECT_EQ(events_, (Lines{"5-", "5+", "5-", "5+"}));
  EXPECT_FALSE(ice_.Running());
  EXPECT_EQ(ice_.Unit(SimulatedIce::kDataCells + 6), 0u);

  // The monitor's reads after the halt see the units, low byte first.
  EXPECT_EQ(ice_.StatePacket(), packet);
  EXPECT_EQ(ice_.ProgramCounter(), 0x01C);
  Send({0x00, 0x44, 0x04, 0x14, 0x42, 0x01, 0x00, 0x80, 0x02});
  EXPECT_EQ(Reply(21), (Bytes{0x03, 0x00, 0xA4, 0x1C, 0x00, 0,    0,    0,    0,    0x15, 0x80,
                              0,    0x09, 0,    0,    0x23, 0xA1, 0x05, 0xFF, 0x0F, 0xFA}));
}

}  // namespace
