#pragma once
// The instruction set as one table, written down apart from the assembler,
// the disassembler and the interpreter, so their tests check each of them
// against the same independent rows.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// Operand fields of an encoding format.
enum class Field { kNone, kAddress, kRegister, kImmediate, kHighImmediate };

struct InstructionRow {
  std::string mnemonic;  // as written in source
  uint16_t base;         // the word with all operand fields 0
  int operands;          // operands the assembler takes
  int format;            // 1 none, 2 address, 3 register, 4 immediate,
                         // 5 register and immediate, 14 immediate in bits 8-11
  int opcode;            // the disassembler's opcode number (statistics slot)
};

// The 73 rows, in the instruction table's order (SHLR is a second spelling
// of SHL).
const std::vector<InstructionRow>& InstructionRows();
const InstructionRow* FindInstructionRow(const std::string& mnemonic);

// The operand fields of a format, first operand first.
std::vector<Field> FormatFields(int format);

// The word of `row` with its operands; values are cut to their fields.
uint16_t EncodeInstruction(const InstructionRow& row, uint32_t op1 = 0, uint32_t op2 = 0);

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
