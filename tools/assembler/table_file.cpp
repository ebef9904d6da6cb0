#include "table_file.h"

#include <cmath>
#include <sstream>

#include "platform/read_file.h"
#include "text_format.h"

namespace k42asm {
namespace {

int16_t Int16Field(const std::string& text) {
  double v = std::nearbyint(ValNumber(text));
  if (v < -32768 || v > 32767) return 0;
  return static_cast<int16_t>(v);
}

}  // namespace

std::string SplitKeyValue(std::string& line) {
  size_t eq = line.find('=');
  if (eq == std::string::npos || eq == 0) return "";
  std::string key = TrimRight(line.substr(0, eq));
  line = TrimLeft(line.substr(eq + 1));
  return key;
}

void ParseTableRecord(std::string value, TableRecord& row) {
  double code = ValNumber(NextToken(value));
  row.code = std::isfinite(code) && std::fabs(code) < 2147483648.0
                 ? static_cast<int32_t>(std::nearbyint(code))
                 : 0;
  row.size = Int16Field(NextToken(value));
  row.name = NextToken(value);
  row.operandCount = Int16Field(NextToken(value));
  row.format = Int16Field(NextToken(value));
}

bool ReadTableFile(const std::string& path, Table& table) {
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) return false;
  std::istringstream in(bytes);
  size_t next = 0;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = UpperAscii(Trim(line));
    std::string key = SplitKeyValue(line);
    if (key == "COUNT") {
      double n = ValNumber(line);
      table.assign(n > 0 && n < 100000 ? static_cast<size_t>(n) : 0, TableRecord{});
      next = 0;
    } else if (key == "DATA") {
      // More rows than announced grow the table.
      if (next >= table.size()) table.resize(next + 1);
      ParseTableRecord(line, table[next++]);
    }
  }
  return true;
}

TableEntry FindTableEntry(const Table& table, std::string_view name) {
  for (size_t i = 0; i < table.size(); ++i)
    if (table[i].name == name) return {table[i].format, table[i].code, static_cast<int>(i)};
  return {0, 0, static_cast<int>(table.size())};
}

}  // namespace k42asm
