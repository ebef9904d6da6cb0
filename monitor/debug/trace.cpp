#include "debug/trace.h"

#include <algorithm>
#include <cmath>

#include "core/code_grid.h"
#include "core/monitor_state.h"
#include "core/target_looks.h"

namespace monitor {
namespace {

constexpr int kRecordBytes = 3;
constexpr int kResetBlock = 64;  // records per reset block

int32_t& Word(MonitorState& state, int word) {
  return state.CpuState.word[word];
}

int HexIndex(const QString& mark) {
  bool ok = false;
  const int value = mark.toInt(&ok, 16);
  return ok ? value : 0;
}

// The 0-based index of the CR that ends the row starting at 1-based `pos`.
int RowEnd(const QString& page, int pos) {
  const int cr = page.indexOf(u'\r', pos - 1);
  return cr < 0 ? static_cast<int>(page.size()) : cr;
}

// 1-based position of the row whose index column is `mark`, or 0.
int FindMarkedRow(const QString& page, const QString& mark) {
  if (mark.isEmpty()) return 0;
  for (qsizetype pos = 0; pos < page.size();) {
    if (page.mid(pos, 4).compare(mark, Qt::CaseInsensitive) == 0) return static_cast<int>(pos) + 1;
    const qsizetype next = page.indexOf(u"\r\n", pos);
    if (next < 0) break;
    pos = next + 2;
  }
  return 0;
}

}  // namespace

QString TraceRow(int index, const TraceEntry& entry, const QString& listing, bool screen) {
  QString row = QString::asprintf("%04X ", static_cast<unsigned>(index) & 0xFFFFu);
  if (entry.pc == -1 || (screen && listing.isEmpty())) return row;
  row += QString::asprintf("%03X %X ", static_cast<unsigned>(entry.pc) & 0xFFFu,
                           static_cast<unsigned>(entry.acc) & 15u);
  for (int bit = 0; bit < 3; ++bit) row += (entry.flags >> bit & 1) != 0 ? "* " : "_ ";
  return row + listing;
}

QString TraceRow(const MonitorState& state, int index, bool screen) {
  const TraceEntry& entry = state.TraceBuffer[static_cast<size_t>(index)];
  const QString listing = entry.pc == -1 ? QString() : FormatListingRow(state, entry.pc);
  return TraceRow(index, entry, listing, screen);
}

void ConvertTraceBytes(std::vector<TraceEntry>& records, int first, int last,
                       const std::vector<uint8_t>& bytes) {
  first = std::max(first, 0);
  last = std::min(last, static_cast<int>(records.size()) - 1);
  const size_t arrived = bytes.size() / kRecordBytes;
  for (int i = first; i <= last && static_cast<size_t>(i - first) < arrived; ++i) {
    const uint8_t* b = &bytes[static_cast<size_t>(i - first) * kRecordBytes];
    TraceEntry& entry = records[static_cast<size_t>(i)];
    entry.pc = b[0] + (b[1] & 15) * 256;
    entry.acc = b[1] >> 4;
    entry.flags = b[2] & 7;
  }
}

int TracePageTop(int scrollValue, int visibleLines) {
  int top = scrollValue;
  if (top + visibleLines > kLastTraceIndex) top = kLastTraceIndex - visibleLines;
  return std::max(top, 0);
}

QString TracePageText(const MonitorState& state, int top, int visibleLines) {
  QString page;
  const int last = std::min(top + std::max(visibleLines, 0), kLastTraceIndex);
  for (int i = std::max(top, 0); i <= last; ++i) {
    page += TraceRow(state, i, true);
    page += "\r\n";
  }
  return page;
}

void MarkRowAt(const QString& page, int position, bool skipEmpty, QString& mark, int& markPos) {
  for (int k = std::min(position, static_cast<int>(page.size())); k >= 1; --k) {
    if (page[k - 1] != u'\r') continue;
    const QString found = page.mid(k + 1, 4);
    if (found.isEmpty() && skipEmpty) continue;
    mark = found.isEmpty() ? QStringLiteral("1FFF") : found;
    markPos = k + 2;
    return;
  }
  mark = page.left(4);
  markPos = 1;
}

void SetEndMark(TraceModule& trace, const QString& page, int selStart, int selLength) {
  int p = selStart;
  if (p >= trace.TraceMarkEndPos) p = selStart + selLength;
  MarkRowAt(page, p, false, trace.TraceMarkEnd, trace.TraceMarkEndPos);
  if (trace.TraceMarkEnd < trace.TraceMarkStart) {
    trace.TraceMarkEnd = trace.TraceMarkStart;
    trace.TraceMarkEndPos = trace.TraceMarkStartPos;
  }
}

void SetStartMark(TraceModule& trace, const QString& page, int selStart) {
  MarkRowAt(page, selStart, false, trace.TraceMarkStart, trace.TraceMarkStartPos);
}

void SetEndMarkFromRelease(TraceModule& trace, const QString& page, int selStart, int selLength) {
  MarkRowAt(page, selStart + selLength, true, trace.TraceMarkEnd, trace.TraceMarkEndPos);
}

Selection HighlightMarks(TraceModule& trace, const QString& page) {
  const int start = FindMarkedRow(page, trace.TraceMarkStart);
  const int end = FindMarkedRow(page, trace.TraceMarkEnd);
  trace.TraceMarkStartPos = start;
  trace.TraceMarkEndPos = end;
  if (start > 0 && end > 0) return {start - 1, std::max(0, RowEnd(page, end) - (start - 1))};
  if (start > 0) return {start - 1, static_cast<int>(page.size()) - (start - 1)};
  if (end > 0) return {0, std::min(RowEnd(page, end) + 1, static_cast<int>(page.size()))};
  if (trace.TraceMarkStart.isEmpty() || trace.TraceMarkEnd.isEmpty() || page.isEmpty()) return {};
  const int first = HexIndex(page.left(4));
  const int last = first + trace.TraceVisibleLines;
  if (HexIndex(trace.TraceMarkStart) < last && HexIndex(trace.TraceMarkEnd) >= first)
    return {0, static_cast<int>(page.size())};
  return {};
}

int CycleCount(const QString& start, const QString& end) {
  return 2 * (HexIndex(end) - HexIndex(start) + 1);
}

int16_t VisibleLinesFor(double lines) {
  const long n = std::lrint(lines);
  return static_cast<int16_t>(std::max(0L, n - std::lrint(static_cast<double>(n) / 10)));
}

int ScrollValueFor(int32_t traceIndex, int visibleLines) {
  return static_cast<int>(std::max(0L, std::lrint(traceIndex - 0.7 * visibleLines)));
}

void ClearTraceRecords(MonitorState& state, int from) {
  for (int i = std::max(from, 0); i <= kLastTraceIndex; ++i)
    state.TraceBuffer[static_cast<size_t>(i)].pc = -1;
}

void InitTraceMemory(MonitorState& state) {
  state.Status.PushStatusText("Initialization of the TRACE memory");
  state.Status.InitProgress(0, kLastTraceIndex);
  for (int i = 0; i <= kLastTraceIndex; ++i) {
    state.TraceBuffer[static_cast<size_t>(i)].pc = -1;
    state.Status.ShowProgress(static_cast<int16_t>(i));
  }
  ResetTraceView(state);
  state.Status.PopStatusText();
  state.Status.ResetProgress();
}

void ResetTraceView(MonitorState& state) {
  state.CpuStateDirty = -1;
  Word(state, k42::kTraceIndex) = 0;
  Word(state, k42::kTraceStopped) = 0;
  Word(state, k42::kTraceFull) = 0;
}

void ReadTraceBuffer(MonitorState& state, TraceModule& trace, int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, kLastTraceIndex);
  if (first > last) return;
  trace.TraceRange[0] = static_cast<int16_t>(first);
  trace.TraceRange[1] = static_cast<int16_t>(last);
  const int count = last - first + 1;
  state.Status.PushStatusText("Reading Trace Buffer");
  std::vector<uint8_t> bytes;
  try {
    bytes = state.ActiveTarget().ReadTrace(first, count);
  } catch (const std::exception&) {
    // The link has already marked itself failed; the records keep their contents.
  }
  state.Status.PopStatusText();
  state.Status.InitProgress(static_cast<int16_t>(first), static_cast<int16_t>(last));
  state.Status.PushStatusText("Convert TRACE");
  ConvertTraceBytes(state.TraceBuffer, first, last, bytes);
  state.Status.ShowProgress(static_cast<int16_t>(last));
  state.Status.PopStatusText();
  state.Status.ResetProgress();
}

void ResetTraceBuffer(MonitorState& state, TraceModule& trace, int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, kLastTraceIndex);
  if (first > last) return;
  trace.TraceRange[2] = static_cast<int16_t>(first);
  trace.TraceRange[3] = static_cast<int16_t>(last);
  state.Status.PushStatusText("Resetting Trace Buffer");
  state.Status.InitProgress(static_cast<int16_t>(first), static_cast<int16_t>(last));
  for (int i = first; i <= last; i += kResetBlock) {
    const int records = std::min(kResetBlock, kLastTraceIndex + 1 - i);
    try {
      state.ActiveTarget().ClearTrace(i, records);
    } catch (const std::exception&) {
      // A failed block is skipped; the next one is still sent.
    }
    if (i % kResetBlock == 0) state.Status.ShowProgress(static_cast<int16_t>(i));
  }
  state.Status.PopStatusText();
  state.Status.ResetProgress();
}

bool UpdateTraceRecords(MonitorState& state, TraceModule& trace) {
  if (Word(state, k42::kTraceActive) == 0) return false;
  const bool oneTime = Word(state, k42::kTraceWrap) == 0;
  if (trace.TraceReadComplete != 0 && oneTime) return false;
  const bool stopped = Word(state, k42::kTraceStopped) != 0;
  const bool emulator = KeepsOwnMemories(state);
  if (oneTime && stopped) {
    trace.TraceReadEnd = kLastTraceIndex;
    trace.TraceReadComplete = -1;
  } else {
    trace.TraceReadEnd = static_cast<int16_t>(Word(state, k42::kTraceIndex) - 1);
  }
  if (emulator) {
    const int first = !oneTime && stopped ? 0 : state.TraceStartIndex;
    ReadTraceBuffer(state, trace, first, trace.TraceReadEnd);
  }
  return true;
}

}  // namespace monitor
