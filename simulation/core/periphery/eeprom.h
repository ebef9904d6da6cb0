#pragma once
// A small EEPROM: bytes, and a busy counter that a read or a write starts
// and the base tick counts down.
#include <array>
#include <cstdint>

namespace periphery {

template <int Bytes>
class Eeprom {
 public:
  static constexpr int kBytes = Bytes;

  // Power-on: the contents stay, the busy counter stops.
  constexpr void reset() { busy_ = 0; }

  constexpr int read(int address) const { return bytes_[address & (Bytes - 1)]; }
  constexpr void write(int address, int value) { bytes_[address & (Bytes - 1)] = static_cast<uint8_t>(value); }
  constexpr void startBusy(int ticks) { busy_ = ticks; }
  constexpr bool busy() const { return busy_ != 0; }

  // One base tick; true when the busy time has just run out.
  constexpr bool tick() { return busy_ != 0 && --busy_ == 0; }

  const std::array<uint8_t, Bytes>& bytes() const { return bytes_; }

 private:
  std::array<uint8_t, Bytes> bytes_{};
  int busy_ = 0;
};

}  // namespace periphery
