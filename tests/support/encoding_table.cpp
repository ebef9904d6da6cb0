#include "encoding_table.h"

#include <array>
#include <stdexcept>

namespace testsupport {

const std::vector<InstructionRow>& InstructionRows() {
  static const std::vector<InstructionRow> rows = {
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
  return rows;
}

const InstructionRow* FindInstructionRow(const std::string& mnemonic) {
  for (const InstructionRow& row : InstructionRows())
    if (row.mnemonic == mnemonic) return &row;
  return nullptr;
}

std::vector<Field> FormatFields(int format) {
  switch (format) {
    case 2: return {Field::kAddress};
    case 3: return {Field::kRegister};
    case 4: return {Field::kImmediate};
    case 5: return {Field::kRegister, Field::kHighImmediate};
    case 14: return {Field::kHighImmediate};
    default: return {};
  }
}

uint16_t EncodeInstruction(const InstructionRow& row, uint32_t op1, uint32_t op2) {
  switch (row.format) {
    case 1: return row.base;
    case 2: return static_cast<uint16_t>(row.base | (op1 & 0x0FFF));
    case 3: return static_cast<uint16_t>(row.base | (op1 & 0x7F));
    case 4: return static_cast<uint16_t>(row.base | (op1 & 0x0F));
    case 5: return static_cast<uint16_t>(row.base | (op2 & 0x0F) << 8 | (op1 & 0x7F));
    case 14: return static_cast<uint16_t>(row.base | (op1 & 0x0F) << 8);
    default: return 0;
  }
}

namespace {

uint32_t FieldSize(Field field) {
  switch (field) {
    case Field::kAddress: return 0x1000;
    case Field::kRegister: return 0x80;
    case Field::kImmediate:
    case Field::kHighImmediate: return 0x10;
    default: return 1;
  }
}

std::array<WordMeaning, 0x10000> BuildMeanings() {
  std::array<WordMeaning, 0x10000> meanings{};
  for (const InstructionRow& row : InstructionRows()) {
    const std::vector<Field> fields = FormatFields(row.format);
    const uint32_t n1 = fields.size() > 0 ? FieldSize(fields[0]) : 1;
    const uint32_t n2 = fields.size() > 1 ? FieldSize(fields[1]) : 1;
    for (uint32_t a = 0; a < n1; ++a) {
      for (uint32_t b = 0; b < n2; ++b) {
        WordMeaning& m = meanings[EncodeInstruction(row, a, b)];
        if (m.row != nullptr) {
          // Only SHLR shares its words, with SHL, which keeps them.
          if (m.row->base == row.base && row.mnemonic == "SHLR") continue;
          throw std::logic_error("two rows encode one word: " + m.row->mnemonic + ", " + row.mnemonic);
        }
        m.row = &row;
        if (fields.size() > 0) m.operands.push_back({fields[0], a});
        if (fields.size() > 1) m.operands.push_back({fields[1], b});
      }
    }
  }
  // The decoder reads every word 1100 xxxx 1xxx xxxx as STIX, whatever its
  // low bits; only those ending in FF reencode to themselves.
  const InstructionRow* stix = FindInstructionRow("STIX");
  for (uint32_t w = 0; w < 0x10000; ++w) {
    if ((w & 0xF080) == 0xC080 && meanings[w].row == nullptr) {
      meanings[w].row = stix;
      meanings[w].operands = {{Field::kHighImmediate, (w >> 8) & 0x0F}};
      meanings[w].nonCanonicalStix = true;
    }
  }
  return meanings;
}

}  // namespace

const WordMeaning& MeaningOf(uint16_t word) {
  static const std::array<WordMeaning, 0x10000>* meanings = new std::array<WordMeaning, 0x10000>(BuildMeanings());
  return (*meanings)[word];
}

}  // namespace testsupport
