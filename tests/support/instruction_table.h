#pragma once
// The instruction set as one table (mnemonic, base word, operand format and
// the fields' masks), written down apart from the assembler, the
// disassembler and the interpreter. Every test and benchmark that writes or
// checks instruction words takes them from here.
#include <cstdint>
#include <iterator>
#include <span>
#include <stdexcept>
#include <string_view>

namespace testsupport {

struct InstructionRow {
  std::string_view mnemonic;  // as written in source
  uint16_t base;              // the word with all operand fields 0
  int operands;               // operands the assembler takes
  int format;                 // 1 none, 2 address, 3 register, 4 immediate,
                              // 5 register and immediate, 14 immediate in bits 8-11
  int opcode;                 // the disassembler's opcode number (statistics slot)
};

// The 73 rows, in the instruction table's order (SHLR is a second spelling
// of SHL).
inline constexpr InstructionRow kInstructionRows[] = {
      {"ADD", 0x9200, 1, 3, 37},    {"ADDS", 0x9300, 1, 3, 49},   {"ADDX", 0x92FF, 0, 1, 9},
      {"ADDXS", 0x93FF, 0, 1, 21},  {"AND", 0xB000, 1, 3, 41},    {"ANDS", 0xB100, 1, 3, 53},
      {"ANDX", 0xB0FF, 0, 1, 13},   {"ANDXS", 0xB1FF, 0, 1, 25},  {"CALL", 0xE000, 1, 2, 71},
      {"CPLA", 0xAA7F, 0, 1, 7},    {"CPLAS", 0xAB7F, 0, 1, 33},  {"CPLR", 0xA600, 1, 3, 47},
      {"CPLRS", 0xA700, 1, 3, 59},  {"CPLRX", 0xA6FF, 0, 1, 19},  {"CPLRXS", 0xA7FF, 0, 1, 31},
      {"DEC", 0x9800, 1, 3, 40},    {"DECS", 0x9900, 1, 3, 52},   {"DECX", 0x98FF, 0, 1, 12},
      {"DECXS", 0x99FF, 0, 1, 24},  {"HALT", 0xF4FF, 0, 1, 2},    {"INC", 0x8600, 1, 3, 38},
      {"INCS", 0x8700, 1, 3, 51},   {"INCX", 0x86FF, 0, 1, 11},   {"INCXS", 0x87FF, 0, 1, 23},
      {"JMP", 0x0000, 1, 2, 63},    {"JPC", 0x4000, 1, 2, 64},    {"JPNC", 0x5000, 1, 2, 65},
      {"JPNZ", 0x7000, 1, 2, 67},   {"JPV1", 0x1000, 1, 2, 68},   {"JPV2", 0x2000, 1, 2, 69},
      {"JPV3", 0x3000, 1, 2, 70},   {"JPZ", 0x6000, 1, 2, 66},    {"LDI", 0xF800, 1, 4, 34},
      {"LDR", 0xB800, 1, 3, 36},    {"LDRX", 0xB8FF, 0, 1, 6},    {"LDRXS", 0xB9FF, 0, 1, 32},
      {"NAND", 0xAE00, 1, 3, 42},   {"NANDS", 0xAF00, 1, 3, 54},  {"NANDX", 0xAEFF, 0, 1, 14},
      {"NANDXS", 0xAFFF, 0, 1, 26}, {"NOP", 0xF0FF, 0, 1, 3},     {"NOR", 0xA200, 1, 3, 44},
      {"NORS", 0xA300, 1, 3, 56},   {"NORX", 0xA2FF, 0, 1, 16},   {"NORXS", 0xA3FF, 0, 1, 28},
      {"NXOR", 0xB200, 1, 3, 46},   {"NXORS", 0xB300, 1, 3, 58},  {"NXORX", 0xB2FF, 0, 1, 18},
      {"NXORXS", 0xB3FF, 0, 1, 30}, {"OR", 0xBC00, 1, 3, 43},     {"ORS", 0xBD00, 1, 3, 55},
      {"ORX", 0xBCFF, 0, 1, 15},    {"ORXS", 0xBDFF, 0, 1, 27},   {"RET", 0xFA7F, 0, 1, 0},
      {"ROM", 0xF1FF, 1, 1, 4},     {"RTI", 0xF27F, 0, 1, 1},     {"SHL", 0x9E00, 1, 3, 48},
      {"SHLR", 0x9E00, 1, 3, 48},   {"SHLX", 0x9EFF, 0, 1, 20},   {"SHRA", 0xB57F, 0, 1, 8},
      {"SHRR", 0xB900, 1, 3, 60},   {"STA", 0xD000, 1, 3, 35},    {"STAX", 0xD0FF, 0, 1, 5},
      {"STI", 0xC000, 2, 5, 61},    {"STIX", 0xC0FF, 1, 14, 62},  {"SUB", 0x8C00, 1, 3, 39},
      {"SUBS", 0x8D00, 1, 3, 50},   {"SUBX", 0x8CFF, 0, 1, 10},   {"SUBXS", 0x8DFF, 0, 1, 22},
      {"XOR", 0xAC00, 1, 3, 45},    {"XORS", 0xAD00, 1, 3, 57},   {"XORX", 0xACFF, 0, 1, 17},
      {"XORXS", 0xADFF, 0, 1, 29},
};

// The bits of the first and second operand in a word of `format`.
struct OperandMasks {
  uint16_t first, second;
  int secondShift;
};
constexpr OperandMasks MasksOf(int format) {
  switch (format) {
    case 2: return {0x0FFF, 0, 0};
    case 3: return {0x007F, 0, 0};
    case 4: return {0x000F, 0, 0};
    case 5: return {0x007F, 0x0F00, 8};
    case 14: return {0x0F00, 0, 0};
    default: return {0, 0, 0};
  }
}

constexpr std::span<const InstructionRow> InstructionRows() { return kInstructionRows; }

// The row's index, or -1.
constexpr int InstructionIndex(std::string_view mnemonic) {
  for (int i = 0; i < static_cast<int>(std::size(kInstructionRows)); ++i)
    if (kInstructionRows[i].mnemonic == mnemonic) return i;
  return -1;
}

inline const InstructionRow* FindInstructionRow(std::string_view mnemonic) {
  const int i = InstructionIndex(mnemonic);
  return i < 0 ? nullptr : &kInstructionRows[i];
}

// The word of `row` with its operands; values are cut to their fields.
constexpr uint16_t EncodeInstruction(const InstructionRow& row, uint32_t op1 = 0, uint32_t op2 = 0) {
  const OperandMasks m = MasksOf(row.format);
  const uint32_t first = row.format == 14 ? op1 << 8 : op1;
  return static_cast<uint16_t>(row.base | (first & m.first) | ((op2 << m.secondShift) & m.second));
}

// The word of the instruction `mnemonic` with its operands (a name the table
// lacks is a compile-time error in a constant, an exception otherwise).
constexpr uint16_t Op(std::string_view mnemonic, uint32_t op1 = 0, uint32_t op2 = 0) {
  const int i = InstructionIndex(mnemonic);
  if (i < 0) throw std::invalid_argument("no such instruction");
  return EncodeInstruction(kInstructionRows[i], op1, op2);
}

}  // namespace testsupport
