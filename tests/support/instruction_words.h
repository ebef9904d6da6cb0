#pragma once
// Instruction words for writing test and benchmark programs, by the names of
// the instruction table (instruction_table.h): Op("ADDS", r) for any
// instruction, and shortcuts for the common ones.
#include <cstdint>

#include "instruction_table.h"

namespace k42words {

using testsupport::Op;

// Single words.
constexpr uint16_t NOP = Op("NOP"), ROM = Op("ROM"), RTI = Op("RTI"), HALT = Op("HALT"), RET = Op("RET");
constexpr uint16_t CPLA = Op("CPLA"), CPLAS = Op("CPLAS"), SHRA = Op("SHRA"), STAX = Op("STAX");

constexpr uint16_t LDI(int v) { return Op("LDI", v); }
constexpr uint16_t STA(int r) { return Op("STA", r); }
constexpr uint16_t STI(int n, int r) { return Op("STI", r, n); }
constexpr uint16_t STIX(int n) { return Op("STIX", n); }
constexpr uint16_t INC(int r) { return Op("INC", r); }
constexpr uint16_t DEC(int r) { return Op("DEC", r); }
constexpr uint16_t ADD(int r) { return Op("ADD", r); }
constexpr uint16_t SUB(int r) { return Op("SUB", r); }
constexpr uint16_t LDR(int r) { return Op("LDR", r); }

// Jumps and CALL.
constexpr uint16_t JMP(int a) { return Op("JMP", a); }
constexpr uint16_t JPV1(int a) { return Op("JPV1", a); }
constexpr uint16_t JPV2(int a) { return Op("JPV2", a); }
constexpr uint16_t JPV3(int a) { return Op("JPV3", a); }
constexpr uint16_t JPC(int a) { return Op("JPC", a); }
constexpr uint16_t JPNC(int a) { return Op("JPNC", a); }
constexpr uint16_t JPZ(int a) { return Op("JPZ", a); }
constexpr uint16_t JPNZ(int a) { return Op("JPNZ", a); }
constexpr uint16_t CALL(int a) { return Op("CALL", a); }

}  // namespace k42words
