// The trace rows and marks: received bytes into records, their rows, and
// marks set anywhere on any page text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "debug/trace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace monitor;
  if (size < 8) return 0;
  const int first = static_cast<int16_t>(data[0] | data[1] << 8);
  const int last = static_cast<int16_t>(data[2] | data[3] << 8);
  const int start = data[4] | data[5] << 8, length = data[6] | data[7] << 8;
  data += 8;
  size -= 8;
  std::vector<TraceEntry> records(kLastTraceIndex + 1, TraceEntry{-1, 0, 0});
  ConvertTraceBytes(records, first, last, std::vector<uint8_t>(data, data + size));
  QString page;
  for (int i = std::max(first, 0); i <= std::min(last, kLastTraceIndex) && i < first + 64; ++i)
    page +=
        TraceRow(i, records[static_cast<size_t>(i)], QStringLiteral("nop"), i % 2 == 0) + "\r\n";
  page += QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  TraceModule trace;
  SetStartMark(trace, page, start);
  SetEndMark(trace, page, start, length);
  SetEndMarkFromRelease(trace, page, length, start);
  const Selection selection = HighlightMarks(trace, page);
  if (selection.start < 0 || selection.length < 0) std::abort();
  CycleCount(trace.TraceMarkStart, trace.TraceMarkEnd);
  return 0;
}
