#include "encoding_table.h"

#include <array>
#include <stdexcept>
#include <string>

namespace testsupport {

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
          throw std::logic_error("two rows encode one word: " + std::string(m.row->mnemonic) + ", " + std::string(row.mnemonic));
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
