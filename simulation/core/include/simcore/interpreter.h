#pragma once
// The instruction interpreter: one 16-bit word against CpuState and the
// register file. Decoding is a switch on the high byte, then the low byte.
#include "simcore/chip_core.h"
#include "simcore/vice_error.h"

namespace simcore {

namespace op {
// ALU groups. The arithmetic ones rotate carry and accumulator as one five-bit
// value in their shift form; the logic ones shift the result.
enum : int { kInc, kSub, kAdd, kDec, kShl, kNor, kCplr, kXor, kNand, kAnd, kNxor, kLdr, kOr };
constexpr bool IsArithmetic(int o) { return o <= kDec; }
}  // namespace op

// One ALU form: direct (low byte 0..0x7F) or indirect (0xFF); any other low
// byte is no operation. The register is read exactly once.
template <class Chip>
template <int kOp, bool kShift>
inline int32_t ChipCore<Chip>::alu(uint32_t low) {
  int32_t n;
  if (low < 0x80)
    n = static_cast<int32_t>(low);
  else if (low == 0xFF)
    n = -1;
  else
    return 0;
  int32_t* w = cpu_->word;
  const int32_t r = Register_Read(n);
  const int32_t a = w[k42::kAcc] & 15;
  int32_t x = 0;
  int32_t c = 0;
  switch (kOp) {
    case op::kInc: x = r + 1; c = x > 15; break;
    case op::kSub: x = r - a; c = r >= a; break;
    case op::kAdd: x = a + r; c = x > 15; break;
    case op::kDec: x = r - 1; c = r >= 1; break;
    case op::kShl: x = r << 1; c = (r >> 3) & 1; break;
    case op::kNor: x = ~(r | a); break;
    case op::kCplr: x = ~r; break;
    case op::kXor: x = r ^ a; break;
    case op::kNand: x = ~(r & a); break;
    case op::kAnd: x = r & a; break;
    case op::kNxor: x = ~(r ^ a); break;
    case op::kLdr: x = r; break;
    case op::kOr: x = r | a; break;
  }
  x &= 15;
  if constexpr (kShift) {
    if constexpr (op::IsArithmetic(kOp)) {
      const int32_t low = x & 1;
      x = (c << 3) | (x >> 1);
      c = low;
    } else {
      c = x & 1;
      x >>= 1;
    }
  }
  w[k42::kAcc] = x;
  carry() = c;
  return 0;
}

// CALL: the return address stays in the level being left. Every level change
// first stores the held counter into the level it leaves, so the three stack
// words always read what the program left in them.
template <class Chip>
inline int32_t ChipCore<Chip>::call(uint32_t word, int32_t& pc) {
  int32_t* w = cpu_->word;
  int32_t& level = w[k42::kStackLevel];
  if (level >= k42::kMaxStackLevel) {
    ViceError(kCallStackFull);
    return -1;
  }
  w[k42::kPcStack + level] = pc;
  level += 1;
  pc = static_cast<int32_t>(word & k42::kPcMask);
  return 0;
}

template <class Chip>
[[gnu::always_inline]] inline int32_t ChipCore<Chip>::Instruction_Step(uint32_t word) {
  int32_t pc = currentPc() & k42::kPcMask;
  const int32_t result = Instruction_Step(word, pc);
  currentPc() = pc;
  return result;
}

template <class Chip>
[[gnu::always_inline]] inline int32_t ChipCore<Chip>::Instruction_Step(uint32_t word, int32_t& pc) {
  int32_t* w = cpu_->word;
  const uint32_t high = (word >> 8) & 0xFF;
  const uint32_t low = word & 0xFF;
  int32_t result = 0;
  // One table jump per instruction: the jumps are decoded here too
  // (condition in bits 12-15, target in bits 0-11).
  const auto jumpIf = [&pc, word](bool taken) {
    if (taken) pc = static_cast<int32_t>(word & k42::kPcMask);
  };
  switch (high) {
    case 0x00 ... 0x0F: jumpIf(true); break;
    case 0x10 ... 0x1F: jumpIf(w[k42::kCond1] != 0); break;
    case 0x20 ... 0x2F: jumpIf(w[k42::kCond2] != 0); break;
    case 0x30 ... 0x3F: jumpIf(w[k42::kCond3] != 0); break;
    case 0x40 ... 0x4F: jumpIf(carry() != 0); break;
    case 0x50 ... 0x5F: jumpIf(carry() == 0); break;
    case 0x60 ... 0x6F: jumpIf(w[k42::kZero] != 0); break;
    case 0x70 ... 0x7F: jumpIf(w[k42::kZero] == 0); break;
    case 0xE0 ... 0xEF: result = call(word, pc); break;
    case 0x86: result = alu<op::kInc, false>(low); break;
    case 0x87: result = alu<op::kInc, true>(low); break;
    case 0x8C: result = alu<op::kSub, false>(low); break;
    case 0x8D: result = alu<op::kSub, true>(low); break;
    case 0x92: result = alu<op::kAdd, false>(low); break;
    case 0x93: result = alu<op::kAdd, true>(low); break;
    case 0x98: result = alu<op::kDec, false>(low); break;
    case 0x99: result = alu<op::kDec, true>(low); break;
    case 0x9E: result = alu<op::kShl, false>(low); break;
    case 0xA2: result = alu<op::kNor, false>(low); break;
    case 0xA3: result = alu<op::kNor, true>(low); break;
    case 0xA6: result = alu<op::kCplr, false>(low); break;
    case 0xA7: result = alu<op::kCplr, true>(low); break;
    case 0xAC: result = alu<op::kXor, false>(low); break;
    case 0xAD: result = alu<op::kXor, true>(low); break;
    case 0xAE: result = alu<op::kNand, false>(low); break;
    case 0xAF: result = alu<op::kNand, true>(low); break;
    case 0xB0: result = alu<op::kAnd, false>(low); break;
    case 0xB1: result = alu<op::kAnd, true>(low); break;
    case 0xB2: result = alu<op::kNxor, false>(low); break;
    case 0xB3: result = alu<op::kNxor, true>(low); break;
    case 0xB8: result = alu<op::kLdr, false>(low); break;
    case 0xB9: result = alu<op::kLdr, true>(low); break;
    case 0xBC: result = alu<op::kOr, false>(low); break;
    case 0xBD: result = alu<op::kOr, true>(low); break;
    case 0xAA:  // CPLA
      if (low == 0x7F) {
        w[k42::kAcc] = ~w[k42::kAcc] & 15;
        carry() = 0;
      }
      break;
    case 0xAB:  // CPLAS
      if (low == 0x7F) {
        const int32_t x = ~w[k42::kAcc] & 15;
        carry() = x & 1;
        w[k42::kAcc] = x >> 1;
      }
      break;
    case 0xB5:  // SHRA
      if (low == 0x7F) {
        const int32_t a = w[k42::kAcc] & 15;
        carry() = a & 1;
        w[k42::kAcc] = a >> 1;
      }
      break;
    case 0xC0 ... 0xCF:  // STI, STIX
      Register_Write(low < 0x80 ? static_cast<int32_t>(low) : -1, static_cast<int32_t>(high & 15));
      break;
    case 0xD0:  // STA, STAX
      if (low < 0x80)
        Register_Write(static_cast<int32_t>(low), w[k42::kAcc]);
      else if (low == 0xFF)
        Register_Write(-1, w[k42::kAcc]);
      break;
    case 0xF2:  // RTI
      if (low == 0x7F) {
        int32_t& level = w[k42::kStackLevel];
        if (level > 0 && w[k42::kInInterrupt] == 1) {
          w[k42::kPcStack + level] = pc;  // the level left keeps the held counter
          level -= 1;
          pc = w[k42::kPcStack + level] & k42::kPcMask;
          w[k42::kInInterrupt] = 0;
        } else {
          w[k42::kInInterrupt] = 0;
          ViceError(kRtiWithoutInterrupt);
          return -1;
        }
      }
      break;
    case 0xF4:  // HALT
      if (low == 0xFF) w[k42::kHalted] = 1;
      break;
    case 0xF8:  // LDI
      if (low < 0x10) {
        w[k42::kAcc] = static_cast<int32_t>(low);
        carry() = 0;
      }
      break;
    case 0xFA:  // RET
      if (low == 0x7F) {
        int32_t& level = w[k42::kStackLevel];
        if (level <= 0) {
          ViceError(kRetWithoutCall);
          return -1;
        }
        w[k42::kPcStack + level] = pc;  // the level left keeps the held counter
        level -= 1;
        pc = w[k42::kPcStack + level] & k42::kPcMask;
      }
      break;
    default:  // NOP 0xF0FF, ROM 0xF1FF, and every word that is no instruction
      break;
  }
  if (result != 0) return result;
  w[k42::kZero] = (w[k42::kAcc] & 15) == 0 ? 1 : 0;
  return 0;
}

}  // namespace simcore
