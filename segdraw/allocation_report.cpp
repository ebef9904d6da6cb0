#include "allocation_report.h"

#include <cstdarg>
#include <cstdio>

#include "segdraw_doc.h"

namespace segdraw {
namespace {

constexpr const char* N = "\r\n";
constexpr const char* T = "\t";

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char text[128];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

std::string Cell(const CSegdrawDoc& doc, const lcddef::Allocation& a, int s, int c, ListForm form) {
  const int position = s * a.multiplexer + c;
  const bool byDefault = a.defaultAllocation == -1;
  const uint16_t entry = TableEntry(a, position);
  if (form == ListForm::Index)
    return Format("[%4d]\t", byDefault ? position : static_cast<int16_t>(entry));
  if (byDefault) return Format("[%2d:%1d]%c\t", s, c, ' ');
  if (entry == lcddef::kDefaultEntry) return Format("[%2d:%1d]%c\t", s, c, '*');
  if (entry < doc.GetSegmentCount())
    return Format("[%2d:%1d]%c\t", doc.GetAddress(entry), BitNumber(doc.GetBit(entry)), ' ');
  return Format(" %4d *\t", entry);
}

std::string TableSection(const CSegdrawDoc& doc, const lcddef::Allocation& a, const char* title, ListForm form) {
  std::string out = std::string(N) + N + T + title + N + N + T + "         ";
  for (int c = 0; c < a.multiplexer; ++c) out += std::string(T) + Format("COM[%1d]", c);
  for (const std::string& line : AllocationLines(doc, a, form)) out += std::string(N) + T + line;
  return out + N;
}

std::string TimeText(time_t when) {
  struct tm parts {};
  char text[64] = "";
  if (localtime_r(&when, &parts) != nullptr) std::strftime(text, sizeof text, "%X %x", &parts);
  return text;
}

void ConsistencyCheck(const CSegdrawDoc& doc, const lcddef::Allocation& a, std::string& out) {
  const int count = doc.GetSegmentCount();
  std::vector<bool> used(static_cast<size_t>(count), false);
  for (int s = 0; s < a.segments; ++s) {
    for (int c = 0; c < a.multiplexer; ++c) {
      const std::string label = Format("[%2d:%1d] ", s + 1, c + 1);
      const uint16_t mask = ComMask(c);
      std::vector<int> matches;
      for (int i = 0; i < count; ++i)
        if (mask != 0 && doc.GetAddress(i) == s && doc.GetBit(i) == mask) matches.push_back(i);
      if (a.defaultAllocation == -1) {
        if (matches.empty()) out += std::string(N) + T + label + "not defined";
        if (matches.size() > 1) {
          out += std::string(N) + T + label + "multiple definitions";
          for (int i : matches) out += std::string(N) + T + T + Format("at index: %3d", i);
        }
        continue;
      }
      const uint16_t entry = TableEntry(a, s * a.multiplexer + c);
      if (entry == lcddef::kDefaultEntry) {
        for (int i : matches) used[static_cast<size_t>(i)] = true;
        if (matches.empty()) out += std::string(N) + T + label + "no segment defined";
      } else if (entry < count) {
        used[entry] = true;
      } else {
        out += std::string(N) + T + label + "index to segment list invalid";
      }
    }
  }
  if (a.defaultAllocation == -1) return;
  out += N;
  for (int i = 0; i < count; ++i)
    if (!used[static_cast<size_t>(i)]) out += std::string(N) + T + Format("segment index: %3d not used", i);
}

}  // namespace

int BitNumber(uint16_t mask) {
  for (int n = 0; n < 16; ++n)
    if ((mask >> n) & 1) return n;
  return 0;
}

uint16_t ComMask(int com) { return com >= 0 && com < 4 ? static_cast<uint16_t>(1 << com) : 0; }

uint16_t TableEntry(const lcddef::Allocation& allocation, int position) {
  return position >= 0 && position < lcddef::kTableEntries ? allocation.table[static_cast<size_t>(position)]
                                                           : lcddef::kDefaultEntry;
}

int FindSegment(const CSegdrawDoc& doc, int address, uint16_t mask) {
  if (mask == 0) return -1;
  for (int i = 0; i < doc.GetSegmentCount(); ++i)
    if (doc.GetAddress(i) == address && doc.GetBit(i) == mask) return i;
  return -1;
}

std::vector<std::string> AllocationLines(const CSegdrawDoc& doc, const lcddef::Allocation& a, ListForm form) {
  std::vector<std::string> lines;
  if (a.segments == -1 || a.multiplexer == -1) return lines;
  for (int s = 0; s < a.segments; ++s) {
    std::string line = Format("Seg [%2d]\t", s + 1);
    for (int c = 0; c < a.multiplexer; ++c) line += Cell(doc, a, s, c, form);
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string BuildAllocationReport(const CSegdrawDoc& doc, const lcddef::Allocation& a,
                                  const std::function<time_t()>& clock) {
  const bool byDefault = a.defaultAllocation == -1;
  std::string out = std::string(N) + N + T + TimeText(clock());
  out += std::string(N) + T + "Segment allocation report for " + doc.GetBaseName() + N + N + T;
  out += std::string(N) + T + Format("Segments:    %2d", a.segments);
  out += std::string(N) + T + Format("Multiplexer: %2d", a.multiplexer);
  out += std::string(N) + T + (byDefault ? "Default" : "Free") + " segment allocation";
  out += TableSection(doc, a, "Segment allocation table (addresses)", ListForm::Address);
  if (!byDefault) out += TableSection(doc, a, "Segment allocation table (indexes)", ListForm::Index);
  out += std::string(N) + N + T + "Segment definition report";
  out += std::string(N) + N + T + Format("Segments: %2d", doc.GetSegmentCount());
  out += std::string(N) + N + T + "Seg" + T + "Add:Bit  X / Y   W / H  Bitmap";
  for (int i = 0; i < doc.GetSegmentCount(); ++i) {
    std::string name;
    doc.GetSegmentBitmapName(i, name);
    out += std::string(N) + T + Format("%3d", i) + T +
           Format("[%2d:%1d]", doc.GetAddress(i), BitNumber(doc.GetBit(i))) + T +
           Format("%3d/%3d %3d/%3d", static_cast<int16_t>(doc.GetLeft(i)), static_cast<int16_t>(doc.GetTop(i)),
                  static_cast<int16_t>(doc.GetWidth(i)), static_cast<int16_t>(doc.GetHeight(i))) +
           T + name;
  }
  out += std::string(N) + N + T + "Consistency chek" + N;
  ConsistencyCheck(doc, a, out);
  return out + N;
}

}  // namespace segdraw
