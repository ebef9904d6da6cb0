#pragma once
// Register file access with data breakpoints, and the Monitor_Write export.
// Plain registers are a mask test plus a store; registers of the chip's map
// go to its handlers; 110 and 111 show the index register.
#include "simcore/chip_core.h"

namespace simcore {

template <class Chip>
int32_t ChipCore<Chip>::mappedRead(int32_t n) {
  const int32_t index = cpu_->word[k42::kIndex] & 0x7F;
  if (n == kIndexLow) return index & 15;
  if (n == kIndexHigh) return index >> 4;
  return chip().Periphery_Read(n);
}

template <class Chip>
void ChipCore<Chip>::mappedWrite(int32_t n, int32_t value) {
  int32_t& index = cpu_->word[k42::kIndex];
  if (n == kIndexLow) {
    index = (index & 0x70) | (value & 15);
    storeValue(n, value & 15);
  } else if (n == kIndexHigh) {
    index = (index & 15) | ((value & 7) << 4);
    storeValue(n, value & 7);
  } else {
    latch_.store(n, value);
    chip().Periphery_Write(n, value);
  }
}

// A data-breakpoint test of one access: a hit adds the stop flag.
template <class Chip>
void ChipCore<Chip>::testDataBreak(int32_t n, int32_t value, int32_t onAccess) {
  const RegisterCell& cell = registers_[n];
  if ((cell.flags & onAccess) != 0 &&
      k42::CompareMatches(cell.flags, value, (cell.value >> 4) & 15))
    stopFlags_ |= k42::kStopDataBreak;
}

template <class Chip>
int32_t ChipCore<Chip>::mappedReadTested(int32_t n) {
  const int32_t v = mappedRead(n);
  if (cpu_->word[k42::kDataBreakEnable] != 0) testDataBreak(n, v, k42::kBreakOnRead);
  return v;
}

// The common access inlines into the interpreter: a plain register and no
// data breakpoints. A mapped register or a breakpoint test leaves the loop.
template <class Chip>
[[gnu::always_inline]] inline int32_t ChipCore<Chip>::Register_Read(int32_t n) {
  static constexpr RegisterSet kMapped = Chip::kPeriphery.with({kIndexLow, kIndexHigh});
  n = (n < 0 ? cpu_->word[k42::kIndex] : n) & 0x7F;
  if (kMapped.contains(n)) return mappedReadTested(n);
  const int32_t v = registers_[n].value & 15;
  if (cpu_->word[k42::kDataBreakEnable] != 0) [[unlikely]]
    testDataBreak(n, v, k42::kBreakOnRead);
  return v;
}

template <class Chip>
inline void ChipCore<Chip>::Register_Write(int32_t n, int32_t value) {
  static constexpr RegisterSet kMapped = Chip::kPeriphery.with({kIndexLow, kIndexHigh});
  n = (n < 0 ? cpu_->word[k42::kIndex] : n) & 0x7F;
  if (kMapped.contains(n))
    mappedWrite(n, value);
  else
    storeValue(n, value);
  if (cpu_->word[k42::kDataBreakEnable] != 0) [[unlikely]]
    testDataBreak(n, value, k42::kBreakOnWrite);
}

template <class Chip>
int32_t ChipCore<Chip>::Monitor_Write(CpuState* cpu, ProgramCell* program,
                                      RegisterCell* registers, TraceEntry* trace, int32_t reg,
                                      int32_t value) {
  keepRecords(cpu, program, registers, trace);
  // The monitor may pass any number: outside -1..127 nothing is written.
  if (reg >= -1 && reg < k42::kRegisterCells) Register_Write(reg, value);
  return value;
}

}  // namespace simcore
