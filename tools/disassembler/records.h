#pragma once
// The disassembler's records and its library-wide state.
#include <array>
#include <bitset>
#include <cstdint>
#include <string>

namespace k42xxdis {

enum OperandKind : uint32_t {
  kNoOperand = 0,
  kImmediate = 1,  // 4-bit digit
  kVariable = 2,   // register number, 7 bits
  kLabel = 3,      // code address, 12 bits
  kDataWord = 4,   // the whole word of an undefined code, written back as DW
};

// One operand of an instruction; also one record of the reference file.
struct OperandReference {
  uint32_t kind;
  uint32_t address;  // address of the instruction that holds the operand
  uint32_t value;
};

// One decoded word; one record of the instruction file.
struct InstructionRecord {
  uint32_t address;
  uint32_t word;
  char mnemonic[8];  // blank-padded, zero-terminated
  uint32_t reserved;
  uint32_t opcode;
  OperandReference operand[2];
};
static_assert(sizeof(OperandReference) == 12);
static_assert(sizeof(InstructionRecord) == 48);

constexpr int kOpcodeCounters = 80;
// ROM: the one instruction whose operand is checked but leaves the word alone.
constexpr uint32_t kRomOpcode = 4;
// Undefined words are counted here; the ROM characteristic file shows 0-71.
constexpr uint32_t kUndefinedOpcode = 72;
// Label map size: code addresses 0 to 4095.
constexpr uint32_t kCodeAddresses = 4096;
constexpr uint32_t kVariableNumbers = 128;

// Everything one call of the export works on; reset at the start of a call.
struct LibraryState {
  std::string binaryPath, assemblyPath, printPath, symbolPath, romPath, xrefPath;
  std::bitset<kCodeAddresses> variableMap;
  std::bitset<kCodeAddresses> labelMap;
  std::array<uint32_t, kOpcodeCounters> opcodeCounts{};
  uint32_t checkSum = 0;
  uint32_t wordCount = 0;
  std::string instructionFile;  // scratch files of the decoding pass
  std::string referenceFile;
};

}  // namespace k42xxdis
