#pragma once
// The trace buffer: 8192 records (MonitorState::TraceBuffer), their rows on
// the screen, on paper and in the trace file, the reads and resets of a
// target's own trace memory, and the marks that measure cycles.
//
// Everything here is plain code over the records and the page text, so the
// trace window only shows what these functions compute. The page text is a
// string whose rows end in CR LF; mark positions are 1-based in it, and a
// Selection counts characters from 0 with CR LF as two, as the text box does.
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "k42target.h"

namespace monitor {

class MonitorState;

inline constexpr int kLastTraceIndex = 0x1FFF;

// The trace module's own state, kept by the trace window.
struct TraceModule {
  int16_t TraceReadEnd = 0;
  int16_t TraceReadComplete = 0;
  // First and last index of the last read, then of the last reset.
  std::array<int16_t, 4> TraceRange{};
  int16_t TraceVisibleLines = 0;
  QString TraceMarkStart, TraceMarkEnd;
  int TraceMarkStartPos = 0, TraceMarkEndPos = 0;
};

struct Selection {
  int start = 0, length = 0;
  bool operator==(const Selection&) const = default;
};

// The row of record `index` without its line end. The screen form shows the
// index alone when the record is empty or its address has no listing text;
// the file form (also printed) shows the columns of every non-empty record.
QString TraceRow(int index, const TraceEntry& entry, const QString& listing, bool screen);
// The row as the monitor's listing gives it (FormatListingRow).
QString TraceRow(const MonitorState& state, int index, bool screen);

// Converts the received bytes, three per record, into records first..last:
// only as many as arrived; the others keep their contents.
void ConvertTraceBytes(std::vector<TraceEntry>& records, int first, int last,
                       const std::vector<uint8_t>& bytes);

// The page from record `top`: TraceVisibleLines + 1 screen rows, never past
// record 8191, each ended by CR LF.
QString TracePageText(const MonitorState& state, int top, int visibleLines);
// The first record of the page the scroll bar's value shows.
int TracePageTop(int scrollValue, int visibleLines);

// The mark of the row at or above 1-based position `position`: its index
// column and the position of the row's first character. A position below the
// last row gives "1FFF" unless `skipEmpty`, which takes the last row instead.
void MarkRowAt(const QString& page, int position, bool skipEmpty, QString& mark, int& markPos);
// The end mark of a left press (caret, selection length); an end above the
// start collapses onto it.
void SetEndMark(TraceModule& trace, const QString& page, int selStart, int selLength);
// The start mark of any other press.
void SetStartMark(TraceModule& trace, const QString& page, int selStart);
// The end mark of any other button's release, from the selection's end.
void SetEndMarkFromRelease(TraceModule& trace, const QString& page, int selStart, int selLength);
// Finds the marked rows on the page (positions kept in the module) and the
// selection that covers the marked range.
Selection HighlightMarks(TraceModule& trace, const QString& page);
// 2 × (end − start + 1), both read as hex ("" reads as 0).
int CycleCount(const QString& start, const QString& end);

// Rows that fit a text box of `lines` whole lines, less a tenth.
int16_t VisibleLinesFor(double lines);
// The scroll value that shows the newest records near the page's bottom.
int ScrollValueFor(int32_t traceIndex, int visibleLines);

// The record operations. Indexes are clamped to 0..8191.
void ClearTraceRecords(MonitorState& state, int from);
void InitTraceMemory(MonitorState& state);
void ResetTraceView(MonitorState& state);
void ReadTraceBuffer(MonitorState& state, TraceModule& trace, int first, int last);
void ResetTraceBuffer(MonitorState& state, TraceModule& trace, int first, int last);
// Steps 1-4 of the update: whether the trace is to be shown, after reading
// what the emulator recorded.
bool UpdateTraceRecords(MonitorState& state, TraceModule& trace);

}  // namespace monitor
