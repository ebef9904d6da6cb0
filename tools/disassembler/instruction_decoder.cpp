#include "instruction_decoder.h"

#include <cstring>

namespace k42xxdis {
namespace {

struct Entry {
  uint16_t code;  // the whole word (table A) or the base under its mask
  uint8_t opcode;
  const char* mnemonic;  // padded to six characters (NXOR and NANDS to seven)
};

// Words without operands.
constexpr Entry kTableA[] = {
    {0xFA7F, 0, "RET   "},    {0xF27F, 1, "RTI   "},    {0xF4FF, 2, "HALT  "},
    {0xF0FF, 3, "NOP   "},    {0xF1FF, 4, "ROM   "},    {0xD0FF, 5, "STAX  "},
    {0xB8FF, 6, "LDRX  "},    {0xAA7F, 7, "CPLA  "},    {0xB57F, 8, "SHRA  "},
    {0x92FF, 9, "ADDX  "},    {0x8CFF, 10, "SUBX  "},   {0x86FF, 11, "INCX  "},
    {0x98FF, 12, "DECX  "},   {0xB0FF, 13, "ANDX  "},   {0xAEFF, 14, "NANDX "},
    {0xBCFF, 15, "ORX   "},   {0xA2FF, 16, "NORX  "},   {0xACFF, 17, "XORX  "},
    {0xB2FF, 18, "NXORX "},   {0xA6FF, 19, "CPLRX "},   {0x9EFF, 20, "SHLX  "},
    {0x93FF, 21, "ADDXS "},   {0x8DFF, 22, "SUBXS "},   {0x87FF, 23, "INCXS "},
    {0x99FF, 24, "DECXS "},   {0xB1FF, 25, "ANDXS "},   {0xAFFF, 26, "NANDXS"},
    {0xBDFF, 27, "ORXS  "},   {0xA3FF, 28, "NORXS "},   {0xADFF, 29, "XORXS "},
    {0xB3FF, 30, "NXORXS"},   {0xA7FF, 31, "CPLRXS"},   {0xB9FF, 32, "LDRXS "},
    {0xAB7F, 33, "CPLAS "},
};

// Words with a variable operand: base = word AND FF80.
constexpr Entry kTableB[] = {
    {0xD000, 35, "STA   "},  {0xB800, 36, "LDR   "},  {0x9200, 37, "ADD   "},
    {0x8600, 38, "INC   "},  {0x8C00, 39, "SUB   "},  {0x9800, 40, "DEC   "},
    {0xB000, 41, "AND   "},  {0xAE00, 42, "NAND  "},  {0xBC00, 43, "OR    "},
    {0xA200, 44, "NOR   "},  {0xAC00, 45, "XOR   "},  {0xB200, 46, "NXOR   "},
    {0xA600, 47, "CPLR  "},  {0x9E00, 48, "SHL   "},  {0x9300, 49, "ADDS  "},
    {0x8D00, 50, "SUBS  "},  {0x8700, 51, "INCS  "},  {0x9900, 52, "DECS  "},
    {0xB100, 53, "ANDS  "},  {0xAF00, 54, "NANDS  "}, {0xBD00, 55, "ORS   "},
    {0xA300, 56, "NORS  "},  {0xAD00, 57, "XORS  "},  {0xB300, 58, "NXORS "},
    {0xA700, 59, "CPLRS "},  {0xB900, 60, "SHRR  "},
};

// Jumps and call: base = word AND F000.
constexpr Entry kTableC[] = {
    {0x0000, 63, "JMP   "},  {0x4000, 64, "JPC   "},  {0x5000, 65, "JPNC  "},
    {0x6000, 66, "JPZ   "},  {0x7000, 67, "JPNZ  "},  {0x1000, 68, "JPV1  "},
    {0x2000, 69, "JPV2  "},  {0x3000, 70, "JPV3  "},  {0xE000, 71, "CALL  "},
};

void SetMnemonic(InstructionRecord& record, uint32_t opcode, const char* text) {
  record.opcode = opcode;
  std::memset(record.mnemonic, 0, sizeof record.mnemonic);
  std::memcpy(record.mnemonic, text, std::strlen(text));
}

void SetOperand(InstructionRecord& record, int which, uint32_t kind, uint32_t value) {
  record.operand[which].kind = kind;
  record.operand[which].value = value;
}

template <size_t N>
const Entry* Find(const Entry (&table)[N], uint32_t code) {
  for (const Entry& entry : table)
    if (entry.code == code) return &entry;
  return nullptr;
}

}  // namespace

int DecodeInstruction(InstructionRecord& record) {
  const uint32_t w = record.word & 0xFFFF;
  for (OperandReference& operand : record.operand) operand = {kNoOperand, record.address, 0};

  if (const Entry* e = Find(kTableA, w)) {
    SetMnemonic(record, e->opcode, e->mnemonic);
  } else if ((w & 0xFFF0) == 0xF800) {
    SetMnemonic(record, 34, "LDI   ");
    SetOperand(record, 0, kImmediate, w & 0x000F);
  } else if (const Entry* e = Find(kTableB, w & 0xFF80)) {
    SetMnemonic(record, e->opcode, e->mnemonic);
    SetOperand(record, 0, kVariable, w & 0x007F);
  } else if ((w & 0xF080) == 0xC000) {
    SetMnemonic(record, 61, "STI   ");
    SetOperand(record, 0, kVariable, w & 0x007F);
    SetOperand(record, 1, kImmediate, (w >> 8) & 0x000F);
  } else if ((w & 0xF080) == 0xC080) {
    SetMnemonic(record, 62, "STIX  ");
    SetOperand(record, 0, kImmediate, (w >> 8) & 0x000F);
  } else if (const Entry* e = Find(kTableC, w & 0xF000)) {
    SetMnemonic(record, e->opcode, e->mnemonic);
    SetOperand(record, 0, kLabel, w & 0x0FFF);
  } else {
    // Written back as a data word, so the text reassembles to the same image.
    SetMnemonic(record, kUndefinedOpcode, "DW    ");
    SetOperand(record, 0, kDataWord, w);
  }
  return 0;
}

}  // namespace k42xxdis
