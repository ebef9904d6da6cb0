#pragma once
// A view of the register file for the periphery: 128 cells of two 32-bit
// words (value word, flags word). The periphery changes only the value bits
// (0-3) of a cell; the compare value (bits 4-7) and the flags word belong to
// the monitor's data breakpoints and are never touched, except where a chip
// moves whole RAM cells between banks (value and compare value, never flags).
#include <cstdint>
#include <type_traits>

namespace periphery {

class Cells {
 public:
  static constexpr int kCount = 128;

  Cells() = default;
  // Any record type of two 32-bit words per cell, passed as a pointer to the
  // first word (the monitor's array); null for "no register file".
  template <class Cell>
  explicit Cells(Cell* cells) : words_(reinterpret_cast<int32_t*>(cells)) {
    static_assert(sizeof(Cell) == 2 * sizeof(int32_t), "a register cell is two 32-bit words");
  }

  bool valid() const { return words_ != nullptr; }
  int32_t* words() const { return words_; }

  // Bits 0-3 of cell n.
  int value(int n) const { return words_[2 * n] & 15; }
  bool bit(int n, int mask) const { return (words_[2 * n] & mask) != 0; }

  // Replaces bits 0-3, keeps the compare value and every higher bit.
  void set(int n, int v) { words_[2 * n] = (words_[2 * n] & ~15) | (v & 15); }
  // Replaces only the bits of `mask` (within 0-3).
  void setMasked(int n, int mask, int v) {
    words_[2 * n] = (words_[2 * n] & ~(mask & 15)) | (v & mask & 15);
  }
  void setBits(int n, int mask) { words_[2 * n] |= (mask & 15); }
  void clearBits(int n, int mask) { words_[2 * n] &= ~(mask & 15); }

  // A request register read by the program: returns the bits of `mask` and
  // clears them.
  int readAndClear(int n, int mask) {
    int v = words_[2 * n] & mask & 15;
    words_[2 * n] &= ~v;
    return v;
  }
  // Each bit of `mask` written as 1 is cleared.
  void writeOneToClear(int n, int mask, int v) { words_[2 * n] &= ~(v & mask & 15); }

  // Power-on style reset: bits 0-3 of every cell become 0.
  void clearValues() {
    for (int n = 0; n < kCount; ++n) words_[2 * n] &= ~15;
  }

  // Exchanges the low byte (value and compare value) of cells first..first+count-1
  // with `bank`; the flags words never move.
  void swapLowBytes(int first, int count, uint8_t* bank) {
    for (int i = 0; i < count; ++i) {
      int32_t& w = words_[2 * (first + i)];
      uint8_t visible = static_cast<uint8_t>(w & 0xFF);
      w = (w & ~0xFF) | bank[i];
      bank[i] = visible;
    }
  }

 private:
  int32_t* words_ = nullptr;
};

// The "bit set/clear" register form: each of bits 0-2 given as 1 is set when
// bit 3 of the value is 1 and cleared when it is 0; with none of bits 0-2
// given, bit 3 itself is stored. Returns the new 4-bit content.
constexpr int bitSetClear(int old, int value) {
  int named = value & 7;
  if (named == 0) return (old & 7) | (value & 8);
  return (value & 8) ? ((old | named) & 15) : (old & ~named & 15);
}

}  // namespace periphery
