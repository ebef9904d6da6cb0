// The trace module over its string model: rows, byte conversion, page
// bounds, rounding, marks, the highlight and the cycle count.
#include "debug/trace.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using monitor::Selection;
using monitor::TraceModule;

TEST(TraceTest, RowsConversionPagesAndRounding) {
  using monitor::TraceRow;
  // Screen and file forms; flags bit 0, 1, 2 in columns C, D, I.
  EXPECT_EQ(TraceRow(3, {0x123, 0xA, 5}, "LISTING", true), "0003 123 A * _ * LISTING");
  EXPECT_EQ(TraceRow(3, {0x123, 0xA, 5}, "", true), "0003 ");
  EXPECT_EQ(TraceRow(3, {0x123, 0xA, 5}, "", false), "0003 123 A * _ * ");
  EXPECT_EQ(TraceRow(0x1FFF, {0x40, 0x1F, 2}, "", false), "1FFF 040 F _ * _ ");
  EXPECT_EQ(TraceRow(42, {-1, 0, 0}, "X", false), "002A ");

  // Three bytes per record, PC bits 8-11 from byte 1 and the high bits of
  // byte 2 masked; a reset record converts as written; a reply cut short
  // converts only what came, and the rest keep their contents.
  std::vector<TraceEntry> records(8192, TraceEntry{-1, 0, 0});
  records[7] = {0x55, 1, 1};
  monitor::ConvertTraceBytes(records, 5, 7, {0x23, 0xA1, 0xFD, 0xFF, 0xFF, 0xFF, 0x01});
  EXPECT_EQ(records[5].pc, 0x123);
  EXPECT_EQ(records[5].acc, 0xA);
  EXPECT_EQ(records[5].flags, 5);
  EXPECT_EQ(records[6].pc, 0xFFF);
  EXPECT_EQ(records[6].acc, 15);
  EXPECT_EQ(records[6].flags, 7);
  EXPECT_EQ(records[7].pc, 0x55);
  // Never past the records, whatever arrived.
  monitor::ConvertTraceBytes(records, 8191, 9000, std::vector<uint8_t>(30, 0));
  EXPECT_EQ(records[8191].pc, 0);

  // The page stays within 0..8191.
  EXPECT_EQ(monitor::TracePageTop(8190, 20), 8171);
  EXPECT_EQ(monitor::TracePageTop(5, 20), 5);
  EXPECT_EQ(monitor::TracePageTop(1, 9000), 0);
  EXPECT_EQ(monitor::TracePageTop(1, 0), 1);

  // Halves round to even; no negative line counts or scroll values.
  EXPECT_EQ(monitor::VisibleLinesFor(25), 23);
  EXPECT_EQ(monitor::VisibleLinesFor(15), 13);
  EXPECT_EQ(monitor::VisibleLinesFor(0.4), 0);
  EXPECT_EQ(monitor::ScrollValueFor(10, 20), 0);
  EXPECT_EQ(monitor::ScrollValueFor(100, 25), 82);
  EXPECT_EQ(monitor::ScrollValueFor(100, 15), 90);

  EXPECT_EQ(monitor::CycleCount("0010", "0014"), 10);
  EXPECT_EQ(monitor::CycleCount("0010", "0010"), 2);
  EXPECT_EQ(monitor::CycleCount("", ""), 2);
}

TEST(TraceTest, MarksByRowHighlightAndCycles) {
  // Three rows of 5 characters + CR LF: rows start at 1, 8 and 15.
  const QString page = "0010 \r\n0011 \r\n0012 \r\n";
  const int end = static_cast<int>(page.size());
  TraceModule trace;
  trace.TraceVisibleLines = 2;
  // Nothing is highlighted before any mark is set.
  EXPECT_EQ(monitor::HighlightMarks(trace, page), Selection{});

  // A caret inside row 0011 (right button) and one in row 0012 (left).
  monitor::SetStartMark(trace, page, 9);
  EXPECT_EQ(trace.TraceMarkStart, "0011");
  EXPECT_EQ(trace.TraceMarkStartPos, 8);
  monitor::SetEndMark(trace, page, 16, 0);
  EXPECT_EQ(trace.TraceMarkEnd, "0012");
  // From the start row's first character to the end row's CR, CR LF counted.
  Selection both = monitor::HighlightMarks(trace, page);
  EXPECT_EQ(both, (Selection{7, 12}));
  EXPECT_EQ(page.mid(both.start, both.length), "0011 \r\n0012 ");
  EXPECT_EQ(monitor::CycleCount(trace.TraceMarkStart, trace.TraceMarkEnd), 4);

  // Below the last row: "1FFF"; the release of the other button takes the
  // last row instead.
  monitor::SetEndMark(trace, page, end, 0);
  EXPECT_EQ(trace.TraceMarkEnd, "1FFF");
  EXPECT_EQ(monitor::HighlightMarks(trace, page), (Selection{7, 14}));
  monitor::SetEndMarkFromRelease(trace, page, end, 0);
  EXPECT_EQ(trace.TraceMarkEnd, "0012");

  // An end above the start collapses onto it: 2 cycles.
  monitor::SetEndMark(trace, page, 2, 0);
  EXPECT_EQ(trace.TraceMarkEnd, "0011");
  EXPECT_EQ(trace.TraceMarkEndPos, 8);
  EXPECT_EQ(monitor::CycleCount(trace.TraceMarkStart, trace.TraceMarkEnd), 2);

  // Only the end row on the page: from the top through its CR.
  trace.TraceMarkStart = "0001";
  trace.TraceMarkEnd = "0011";
  EXPECT_EQ(monitor::HighlightMarks(trace, page), (Selection{0, 13}));
  EXPECT_EQ(trace.TraceMarkStartPos, 0);
  // Neither on the page, the page inside the range: all of it; outside: none.
  trace.TraceMarkEnd = "0100";
  EXPECT_EQ(monitor::HighlightMarks(trace, page), (Selection{0, 21}));
  trace.TraceMarkStart = "0020";
  EXPECT_EQ(monitor::HighlightMarks(trace, page), Selection{});
  // A mark is found by a row's index column only (case ignored), never
  // inside a row's listing text.
  const QString listing = "00AB 0AB 1 _ _ _ 00012 LOOP\r\n00AC \r\n";
  trace.TraceMarkStart = "00ab";
  trace.TraceMarkEnd = "0012";
  EXPECT_EQ(monitor::HighlightMarks(trace, listing), (Selection{0, static_cast<int>(listing.size())}));
  EXPECT_EQ(trace.TraceMarkStartPos, 1);
  EXPECT_EQ(trace.TraceMarkEndPos, 0);
}

}  // namespace
