// The trace on the simulated in-circuit emulator: reads of records, resets
// of its trace memory and the update rules, asserted on the wire.
#include <gtest/gtest.h>

#include <algorithm>

#include "debug/trace.h"
#include "emulator_fixture.h"
#include "wait_until.h"

namespace {

using Lines = std::vector<std::string>;

class TraceEmulatorTest : public monitortest::EmulatorTest {
 protected:
  // The transcript once `count` entries arrived (or a little later when it
  // is to stay empty).
  Lines Wire(size_t count) const {
    if (count == 0) testsupport::RunEventsFor(20);
    testsupport::WaitUntil([&] { return ice.TranscriptText().size() >= count; });
    return ice.TranscriptText();
  }
  Lines Headers(size_t count) const {
    Wire(count);
    Lines headers;
    for (const std::string& line : ice.TranscriptText())
      if (line.find(" data ") == std::string::npos) headers.push_back(line);
    return headers;
  }
  monitor::TraceModule trace;
};

TEST_F(TraceEmulatorTest, ReadsConvertResetsFillAndUpdatesFollowTheMode) {
  Connect();
  // Record i: PC 0x100 + i, accumulator i, flags 5 with the high bits set.
  for (int i = 0; i < 10; ++i)
    ice.SetUnit(0x2000 + i, static_cast<uint32_t>(i | (0x01 | i << 4) << 8 | 0xFD << 16));
  monitor::ReadTraceBuffer(state, trace, 0, 9);
  EXPECT_EQ(Wire(1), (Lines{"00 80 0A read 2000 10"}));
  EXPECT_EQ(state.TraceBuffer[9].pc, 0x109);
  EXPECT_EQ(state.TraceBuffer[9].acc, 9);
  EXPECT_EQ(state.TraceBuffer[9].flags, 5);
  EXPECT_EQ(trace.TraceRange[1], 9);
  EXPECT_EQ(state.Status.Shown(), "Ready");

  // Reversed ranges send nothing and push no status text.
  ice.ClearTranscript();
  monitor::ResetTraceBuffer(state, trace, 5, 4);
  monitor::ReadTraceBuffer(state, trace, 5, 4);
  EXPECT_TRUE(Wire(0).empty());
  // Blocks of 64 reset records; the last block stops at record 8191.
  monitor::ResetTraceBuffer(state, trace, 0, 130);
  EXPECT_EQ(Headers(3 + 3 * 64), (Lines{"02 80 40 write 2000 64", "02 81 40 write 2040 64",
                              "02 82 40 write 2080 64"}));
  EXPECT_EQ(ice.TranscriptText().size(), 3u + 3 * 64);
  EXPECT_EQ(ice.Unit(0x2000 + 191), 0xFFFFFFu);
  ice.ClearTranscript();
  monitor::ResetTraceBuffer(state, trace, 8190, 9000);
  EXPECT_EQ(Headers(3), (Lines{"FA FF 02 write 3FFE 2"}));
  EXPECT_EQ(state.Status.Shown(), "Ready");

  // One-time mode: up to word 25 - 1 from the run's start; nothing with
  // word 25 = 0; once stopped, to 0x1FFF once, then blocked.
  using k42::kTraceIndex;
  state.CpuState.word[k42::kTraceActive] = -1;
  state.CpuState.word[kTraceIndex] = 10;
  ice.ClearTranscript();
  EXPECT_TRUE(monitor::UpdateTraceRecords(state, trace));
  EXPECT_EQ(Wire(1), (Lines{"00 80 0A read 2000 10"}));
  state.CpuState.word[kTraceIndex] = 0;
  ice.ClearTranscript();
  EXPECT_TRUE(monitor::UpdateTraceRecords(state, trace));
  EXPECT_EQ(trace.TraceReadEnd, -1);
  EXPECT_TRUE(Wire(0).empty());
  state.TraceStartIndex = 8100;
  state.CpuState.word[k42::kTraceStopped] = -1;
  EXPECT_TRUE(monitor::UpdateTraceRecords(state, trace));
  EXPECT_EQ(Wire(1), (Lines{"90 FE 5C read 3FA4 92"}));
  EXPECT_FALSE(monitor::UpdateTraceRecords(state, trace));
  EXPECT_EQ(Wire(0).size(), 1u);
  // Last-instruction mode, stopped: from record 0.
  state.CpuState.word[k42::kTraceWrap] = -1;
  state.CpuState.word[kTraceIndex] = 3;
  ice.ClearTranscript();
  EXPECT_TRUE(monitor::UpdateTraceRecords(state, trace));
  EXPECT_EQ(Wire(1), (Lines{"00 80 03 read 2000 3"}));
  // Trace off: nothing.
  state.CpuState.word[k42::kTraceActive] = 0;
  EXPECT_FALSE(monitor::UpdateTraceRecords(state, trace));

  // A reply cut short: the link's error is caught, no message, and the
  // records keep their contents.
  state.TraceBuffer[0] = {0x77, 1, 1};
  state.TraceBuffer[9] = {0x99, 1, 1};
  ice.SetShortReply(4);
  monitor::ReadTraceBuffer(state, trace, 0, 9);
  EXPECT_EQ(state.TraceBuffer[0].pc, 0x77);
  EXPECT_EQ(state.TraceBuffer[9].pc, 0x99);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(state.Status.Shown(), "Ready");
}

}  // namespace
