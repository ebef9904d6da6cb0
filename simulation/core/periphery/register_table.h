#pragma once
// A chip's register map as data: one line per periphery register, saying how
// a read and a write behave. Every register not listed is plain (stores and
// reads bits 0-3). The kinds that recur in every chip are done here; what is
// truly a chip's own runs in its handlers:
//   read  plain | bits(mask) | readClear(mask) | computed (chip's onRead)
//   write stored | storedBits(mask) | ignored | oneClears(mask)
//         | any of these followed by the chip's onWrite (".then()"), which
//           may name the block that owns the register (".then(Block::Timer)",
//           "handledBy(Block::Ports)") for the chip's write routes
//           (write_routes.h)
#include <array>
#include <cstdint>

#include <simcore/register_set.h>

#include "cells.h"

namespace periphery {

enum class ReadKind : uint8_t { Plain, Bits, ReadClear, Computed };
enum class WriteKind : uint8_t { Stored, Ignored, OneClears };

struct ReadRule {
  ReadKind kind = ReadKind::Plain;
  uint8_t mask = 15;
};

struct WriteRule {
  WriteKind kind = WriteKind::Stored;
  uint8_t mask = 15;           // the bits stored (Stored) or cleared (OneClears)
  // 0: no handler; else the chip's onWrite runs after the store, and
  // route - 1 is blockCode() of the block that owns the register (0: none).
  uint8_t route = 0;
  constexpr bool handler() const { return route != 0; }
  constexpr int block() const { return route - 1; }
  // The same rule, followed by the chip's handler.
  constexpr WriteRule then() const { return WriteRule{kind, mask, route != 0 ? route : uint8_t{1}}; }
  // The same rule, followed by the handler of block `b`.
  template <class Block>
  constexpr WriteRule then(Block b) const {
    return WriteRule{kind, mask, static_cast<uint8_t>(blockCode(b) + 1)};
  }
  // A block's number in the table: its enumerator + 1, so that 0 is no block.
  template <class Block>
  static constexpr int blockCode(Block b) {
    return static_cast<int>(b) + 1;
  }
};

// The rule names a chip's table is written in (`using namespace
// periphery::rules;` in the chip's register file).
inline namespace rules {

constexpr ReadRule plain{ReadKind::Plain, 15};
constexpr ReadRule bits(int mask) { return ReadRule{ReadKind::Bits, static_cast<uint8_t>(mask)}; }
constexpr ReadRule readClear(int mask) {
  return ReadRule{ReadKind::ReadClear, static_cast<uint8_t>(mask)};
}
constexpr ReadRule computed{ReadKind::Computed, 15};

constexpr WriteRule stored{WriteKind::Stored, 15, 0};
constexpr WriteRule storedBits(int mask) {
  return WriteRule{WriteKind::Stored, static_cast<uint8_t>(mask), 0};
}
constexpr WriteRule ignored{WriteKind::Ignored, 0, 0};
// Nothing is stored; the chip's handler does it all.
constexpr WriteRule handled{WriteKind::Ignored, 0, 1};
// Nothing is stored; the handler of block `b` does it all.
template <class Block>
constexpr WriteRule handledBy(Block b) {
  return handled.then(b);
}
constexpr WriteRule oneClears(int mask) {
  return WriteRule{WriteKind::OneClears, static_cast<uint8_t>(mask), 0};
}

}  // namespace rules

struct RegisterSpec {
  int number;
  ReadRule read;
  WriteRule write;
};

// The full 128-entry map, built at compile time from a chip's list.
struct RegisterMap {
  std::array<ReadRule, Cells::kCount> reads{};
  std::array<WriteRule, Cells::kCount> writes{};
};

template <std::size_t N>
constexpr RegisterMap buildRegisterMap(const RegisterSpec (&list)[N]) {
  RegisterMap map;
  for (const RegisterSpec& line : list) {
    map.reads[line.number] = line.read;
    map.writes[line.number] = line.write;
  }
  return map;
}

// A map with more lines: a variant's registers over its family's table (a
// line for a register already in the map replaces it).
template <std::size_t N>
constexpr RegisterMap withRegisters(RegisterMap map, const RegisterSpec (&list)[N]) {
  for (const RegisterSpec& line : list) {
    map.reads[line.number] = line.read;
    map.writes[line.number] = line.write;
  }
  return map;
}

// True when register n has no behaviour beyond storing and reading bits 0-3:
// the framework then handles it as RAM.
constexpr bool isPlain(const RegisterMap& map, int n) {
  const ReadRule r = map.reads[n];
  const WriteRule w = map.writes[n];
  return r.kind == ReadKind::Plain && w.kind == WriteKind::Stored && w.mask == 15 && !w.handler();
}

// The framework's periphery set of a chip described by `map`: every register
// that is not plain, so RAM stays a mask test and a store.
constexpr simcore::RegisterSet PeripheryRegisters(const RegisterMap& map) {
  simcore::RegisterSet set;
  for (int n = 0; n < Cells::kCount; ++n)
    if (!isPlain(map, n)) set.add(n);
  return set;
}

// Same, for a range of registers sharing one rule (RAM, unused blocks).
constexpr void setRange(RegisterMap& map, int first, int last, ReadRule r, WriteRule w) {
  for (int n = first; n <= last; ++n) {
    map.reads[n] = r;
    map.writes[n] = w;
  }
}

// The value the program reads from register n (0..127). Computed registers
// go to chip.onRead(n).
template <class Chip>
inline int readRegister(const RegisterMap& map, Chip& chip, Cells cells, int n) {
  const ReadRule rule = map.reads[n];
  switch (rule.kind) {
    case ReadKind::Plain: return cells.value(n);
    case ReadKind::Bits: return cells.value(n) & rule.mask;
    case ReadKind::ReadClear: return cells.readAndClear(n, rule.mask);
    case ReadKind::Computed: return chip.onRead(n) & 15;
  }
  return 0;
}

// Stores `value` into register n by its rule, then runs chip.onWrite(n,
// value, old) where the rule asks for it (old = bits 0-3 before the write).
template <class Chip>
inline void writeRegister(const RegisterMap& map, Chip& chip, Cells cells, int n, int value) {
  const WriteRule rule = map.writes[n];
  const int old = cells.value(n);
  switch (rule.kind) {
    case WriteKind::Stored: cells.setMasked(n, rule.mask, value); break;
    case WriteKind::Ignored: break;
    case WriteKind::OneClears: cells.writeOneToClear(n, rule.mask, value); break;
  }
  if (rule.handler()) chip.onWrite(n, value & 15, old);
}

}  // namespace periphery
