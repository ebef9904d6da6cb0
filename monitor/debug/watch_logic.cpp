#include "debug/watch_logic.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numeric>

#include "core/code_grid.h"
#include "core/settings/global_numbers.h"
#include "platform/read_file.h"

namespace monitor {
namespace {

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) < 33;
}

std::string FirstWord(const std::string& text) {
  return std::string(text.begin(), std::find_if(text.begin(), text.end(), IsBlank));
}

std::string LastFour(const std::string& text) {
  return text.size() <= 4 ? text : text.substr(text.size() - 4);
}

// 1-based position of `marker` in `line` greater than `after`.
bool MarkerAfter(const std::string& line, const char* marker, size_t after) {
  const size_t at = line.find(marker);
  return at != std::string::npos && at + 1 > after;
}

}  // namespace

std::string RelationText(int32_t mode) {
  std::string rel;
  if ((mode & 4) != 0) rel += '<';
  if ((mode & 1) != 0) rel += '>';
  if ((mode & 2) != 0) rel += '=';
  return rel;
}

WatchCondition ParseCondition(const std::string& text) {
  std::string trimmed = text;
  while (!trimmed.empty() && IsBlank(trimmed.back())) trimmed.pop_back();
  WatchCondition condition;
  if (!trimmed.empty()) {
    condition.mode = 0;
    for (size_t i = 0; i < trimmed.size(); ++i) {
      const char c = trimmed[i];
      if (c == '<') {
        condition.mode |= 4;
      } else if (c == '>') {
        condition.mode |= 1;
      } else if (c == '=') {
        condition.mode |= 2;
      } else {
        if (condition.mode == 0) condition.mode = 2;
        condition.compare = HexToNumber(trimmed.substr(i), 0) & 15;
        break;
      }
    }
  }
  condition.rel = RelationText(condition.mode);
  condition.match = NumberToHex(static_cast<int16_t>(condition.compare));
  return condition;
}

std::vector<SymbolRow> ReadSymbols(const std::vector<std::string>& lines) {
  std::vector<SymbolRow> rows;
  std::string pending;
  bool started = false;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    if (line[0] == ' ' || line[0] == '\t') {
      if (!started) {
        started = MarkerAfter(line, "Value:Length", 1);
      } else if (MarkerAfter(line, "-Reg", 10) && !pending.empty()) {
        rows.push_back({pending, LastFour(FirstWord(TrimLeading(line)))});
        pending.clear();
      }
      continue;
    }
    if (!started) continue;
    const auto blank = std::find_if(line.begin(), line.end(), IsBlank);
    if (blank == line.end()) {
      pending = line;
    } else if (MarkerAfter(line, "-Reg", 10)) {
      rows.push_back(
          {FirstWord(line), LastFour(FirstWord(TrimLeading(std::string(blank, line.end()))))});
    }
  }
  return rows;
}

std::vector<std::string> ReadTextLines(const std::string& path) {
  std::vector<std::string> lines;
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) return lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    size_t stop = end;
    if (stop > start && bytes[stop - 1] == '\r') --stop;
    lines.emplace_back(bytes, start, stop - start);
    start = end + 1;
  }
  return lines;
}

std::array<std::string, 128> RamLabels(const std::vector<SymbolRow>& symbols) {
  std::array<std::string, 128> labels;
  std::array<bool, 128> found{};
  for (const SymbolRow& symbol : symbols) {
    // A value too wide for a number names no cell.
    const int32_t address = LeadingHexValue(symbol.value, true).value_or(-1);
    if (address < 0 || address >= 128 || found[static_cast<size_t>(address)]) continue;
    found[static_cast<size_t>(address)] = true;
    labels[static_cast<size_t>(address)] = symbol.label;
  }
  return labels;
}

}  // namespace monitor
