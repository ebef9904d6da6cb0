#pragma once
// LCD memory: nibbles addressed by bank and address.
#include <array>
#include <cstdint>

namespace periphery {

template <int Banks, int PerBank>
class LcdMemory {
 public:
  static constexpr int kSize = Banks * PerBank;
  constexpr void reset() { nibbles_.fill(0); }
  constexpr int index(int bank, int address) const { return (bank % Banks) * PerBank + (address % PerBank); }
  constexpr int at(int i) const { return nibbles_[i % kSize]; }
  constexpr void set(int i, int v) { nibbles_[i % kSize] = static_cast<uint8_t>(v & 15); }

 private:
  std::array<uint8_t, kSize> nibbles_{};
};

}  // namespace periphery
