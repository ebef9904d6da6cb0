#pragma once
// The assembler's table files: "COUNT=n" sizes a table, each "DATA=" line
// fills the next row with "code,size,name,operand count,format".
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace k42asm {

struct TableRecord {
  std::string name;
  int16_t operandCount = 0;  // operands (-1: a list) / operator arity
  int16_t format = 0;        // encoding format / syntax class / operator class; 0 = empty row
  int32_t code = 0;          // base code (instructions) / dispatch code
  int16_t size = 0;          // words the instruction takes
};

// How an instruction's operands enter its word (the format of its row).
enum EncodingFormat : int16_t {
  kFormatNone = 1,               // the base word alone
  kFormatAddress = 2,            // a 12-bit program address, the value of a label
  kFormatRegister = 3,           // a 7-bit register address
  kFormatImmediate = 4,          // a 4-bit value in bits 0 to 3
  kFormatRegisterImmediate = 5,  // a register, then a 4-bit value in bits 8 to 11
  kFormatHighImmediate = 14,     // a 4-bit value in bits 8 to 11
};

using Table = std::vector<TableRecord>;

struct TableEntry {
  int format = 0;  // 0: not found
  int32_t code = 0;
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
TableEntry FindTableEntry(const Table& table, std::string_view name);

}  // namespace k42asm
