#pragma once
// Instruction words of the K42XX CPU, for writing test programs. One table
// for the interpreter's tests (and later the assembler's and disassembler's).
#include <cstdint>

namespace k42test {

constexpr uint16_t Word(uint32_t w) { return static_cast<uint16_t>(w); }

// Single words.
constexpr uint16_t NOP = 0xF0FF, ROM = 0xF1FF, RTI = 0xF27F, HALT = 0xF4FF, RET = 0xFA7F;
constexpr uint16_t CPLA = 0xAA7F, CPLAS = 0xAB7F, SHRA = 0xB57F, STAX = 0xD0FF;

constexpr uint16_t LDI(int v) { return Word(0xF800 | (v & 15)); }
constexpr uint16_t STA(int r) { return Word(0xD000 | (r & 0x7F)); }
constexpr uint16_t STI(int n, int r) { return Word(0xC000 | (n & 15) << 8 | (r & 0x7F)); }
constexpr uint16_t STIX(int n) { return Word(0xC080 | (n & 15) << 8); }

// ALU group bases; the shift twin is base + 1, the indirect form low byte 0xFF.
enum AluBase : uint16_t {
  kInc = 0x8600, kSub = 0x8C00, kAdd = 0x9200, kDec = 0x9800, kShl = 0x9E00, kNor = 0xA200,
  kCplr = 0xA600, kXor = 0xAC00, kNand = 0xAE00, kAnd = 0xB000, kNxor = 0xB200, kLdr = 0xB800,
  kOr = 0xBC00,
};
constexpr uint16_t Alu(AluBase base, int r) { return Word(base | (r & 0x7F)); }
constexpr uint16_t AluS(AluBase base, int r) { return Word((base + 0x100) | (r & 0x7F)); }
constexpr uint16_t AluX(AluBase base) { return Word(base | 0xFF); }
constexpr uint16_t AluXS(AluBase base) { return Word((base + 0x100) | 0xFF); }
constexpr uint16_t INC(int r) { return Alu(kInc, r); }
constexpr uint16_t DEC(int r) { return Alu(kDec, r); }
constexpr uint16_t ADD(int r) { return Alu(kAdd, r); }
constexpr uint16_t SUB(int r) { return Alu(kSub, r); }
constexpr uint16_t LDR(int r) { return Alu(kLdr, r); }

// Jumps and CALL.
constexpr uint16_t JMP(int a) { return Word(0x0000 | (a & 0xFFF)); }
constexpr uint16_t JPV1(int a) { return Word(0x1000 | (a & 0xFFF)); }
constexpr uint16_t JPV2(int a) { return Word(0x2000 | (a & 0xFFF)); }
constexpr uint16_t JPV3(int a) { return Word(0x3000 | (a & 0xFFF)); }
constexpr uint16_t JPC(int a) { return Word(0x4000 | (a & 0xFFF)); }
constexpr uint16_t JPNC(int a) { return Word(0x5000 | (a & 0xFFF)); }
constexpr uint16_t JPZ(int a) { return Word(0x6000 | (a & 0xFFF)); }
constexpr uint16_t JPNZ(int a) { return Word(0x7000 | (a & 0xFFF)); }
constexpr uint16_t CALL(int a) { return Word(0xE000 | (a & 0xFFF)); }

}  // namespace k42test
