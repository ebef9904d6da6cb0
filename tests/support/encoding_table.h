#pragma once
// What every instruction word means, from the instruction table, so the
// tests of the assembler, the disassembler and the interpreter check each of
// them against the same independent rows.
#include <cstdint>
#include <vector>

#include "instruction_table.h"

namespace testsupport {

// Operand fields of an encoding format.
enum class Field { kNone, kAddress, kRegister, kImmediate, kHighImmediate };

// The operand fields of a format, first operand first.
std::vector<Field> FormatFields(int format);

struct Operand {
  Field field;
  uint32_t value;
  bool operator==(const Operand&) const = default;
};

// What a word means, found by enumerating every row's encodings.
struct WordMeaning {
  const InstructionRow* row = nullptr;  // nullptr: no row encodes the word
  std::vector<Operand> operands;
  // True when the decoder still reads the word as an instruction that
  // reencodes differently: STIX with a low byte other than FF.
  bool nonCanonicalStix = false;
};

// The meaning of every word 0000-FFFF. SHL wins over its synonym SHLR.
const WordMeaning& MeaningOf(uint16_t word);

// Opcode number given to words no row encodes.
constexpr int kUndefinedOpcode = 72;

}  // namespace testsupport
