#pragma once
// Field: bit(s) `mask` of register `reg`, the one way a layout names a
// control bit, a request group or a block's register. RegisterLatch: the
// last value the CPU (or the monitor) stored into each periphery register,
// kept by the framework's register write, so the model and the window read
// control settings between runs and before the first reset without the
// register file.
#include <array>
#include <cstdint>

namespace simcore {

struct Field {
  uint8_t reg;
  uint8_t mask = 15;

  // The lowest bit of the mask: a field's value is (register & mask) >> shift().
  constexpr int shift() const {
    int s = 0;
    while (s < 4 && ((mask >> s) & 1) == 0) ++s;
    return s;
  }
  // The same register, other bits.
  constexpr Field bits(int m) const { return Field{reg, static_cast<uint8_t>(m & 15)}; }
  // The field's value in the register value `v`, shifted down to bit 0.
  constexpr int of(int v) const { return (v & mask) >> shift(); }
  // Whether any of the field's bits is set in `v`.
  constexpr bool setIn(int v) const { return (v & mask) != 0; }
  // `v` with the field's bits replaced by `value` (shifted up into place).
  constexpr int with(int v, int value) const { return (v & ~mask) | ((value << shift()) & mask); }
};

// Bit i of a value with one bit per pin, lane or part (a direction
// register, a pin latch, a redraw mask).
constexpr bool bitAt(int value, int i) { return ((value >> i) & 1) != 0; }

class RegisterLatch {
 public:
  void store(int n, int value) { values_[static_cast<uint32_t>(n) & 127] = static_cast<uint8_t>(value & 15); }
  // The stored bits of the field, in place (not shifted).
  int bits(Field f) const { return values_[f.reg & 127] & f.mask; }
  bool test(Field f) const { return bits(f) != 0; }
  // The field's value shifted down to bit 0.
  int value(Field f) const { return bits(f) >> f.shift(); }
  int at(int n) const { return values_[static_cast<uint32_t>(n) & 127]; }
  void set(Field f) { values_[f.reg & 127] |= f.mask; }
  void clear() { values_.fill(0); }

 private:
  std::array<uint8_t, 128> values_{};
};

}  // namespace simcore
