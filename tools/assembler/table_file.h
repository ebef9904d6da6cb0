#pragma once
// The assembler's table files: "COUNT=n" sizes a table, each "DATA=" line
// fills the next row with "f1,f2,name,f4,f5".
#include <cstdint>
#include <string>
#include <vector>

namespace k42asm {

struct TableRecord {
  std::string name;
  int16_t f4 = 0;  // operand count / arity
  int16_t f5 = 0;  // format / syntax class / operator class; 0 = empty row
  int32_t f1 = 0;  // base code / dispatch code
  int16_t f2 = 0;  // size in words
};

using Table = std::vector<TableRecord>;

struct TableEntry {
  int f5 = 0;  // 0: not found
  int32_t f1 = 0;
  int row = -1;
};

// Splits "KEY = VALUE" at the first "=" that is not the first character;
// returns the key ("" when none) and leaves the value in `line`.
std::string SplitKeyValue(std::string& line);

void ParseTableRecord(std::string value, TableRecord& row);

// Reads a table file into `table` (kept at its initial size until a COUNT
// line). Returns false when the file cannot be opened.
bool ReadTableFile(const std::string& path, Table& table);

// The first row whose name equals `name` exactly.
TableEntry FindTableEntry(const Table& table, const std::string& name);

}  // namespace k42asm
