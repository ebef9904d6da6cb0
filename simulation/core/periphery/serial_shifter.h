#pragma once
// A synchronous serial shifter of 5 to 8 bits per transfer. Clock events
// alternate between two phases; on the sampling phase the input bit is
// shifted into the received bits from the low end; the shift register is
// sent most significant bit first, one bit per clock period, changing on the
// sampling phase or on the other one.
#include <cstdint>

namespace periphery {

struct SerialPhases {
  int samplingPhase;     // 0 or 1: the phase on which the input is sampled
  bool outOnOtherPhase;  // the output changes on the other phase (else on the sampling one)
};

class SerialShifter {
 public:
  constexpr void reset() { *this = SerialShifter{}; }

  constexpr void setBitsPerTransfer(int bits) { bits_ = bits; }
  constexpr int bitsPerTransfer() const { return bits_; }

  // The shift register, as the program loads it.
  constexpr void load(int value) { shift_ = value & 0xFF; }
  constexpr int shiftRegister() const { return shift_; }

  // A new transfer: received bits cleared, the first bit to send is bit
  // (bits per transfer - 1) of the shift register.
  constexpr void start() {
    received_ = 0;
    count_ = 0;
    sent_ = 0;
    phase_ = 0;
  }

  struct Clock {
    bool outChanged = false;
    bool done = false;  // the last bit of the transfer was received
  };

  // One clock event with input level `in`.
  constexpr Clock clock(int in, SerialPhases phases) {
    Clock result;
    const int phase = phase_;
    phase_ ^= 1;
    const bool sampling = phase == phases.samplingPhase;
    if (sampling) {
      received_ = ((received_ << 1) | (in & 1)) & 0xFF;
      ++count_;
    }
    if (sampling != phases.outOnOtherPhase && sent_ < bits_) {
      const int before = out();
      ++sent_;
      result.outChanged = out() != before;
    }
    if (sampling && count_ >= bits_) {
      result.done = true;
      count_ = 0;
    }
    return result;
  }

  // The level on the output: the bit being sent (the last one once all are sent).
  constexpr int out() const {
    const int index = bits_ - 1 - (sent_ < bits_ ? sent_ : bits_ - 1);
    return (shift_ >> index) & 1;
  }
  constexpr int received() const { return received_; }
  constexpr int bitCount() const { return count_; }
  constexpr int phase() const { return phase_; }

 private:
  int shift_ = 0;
  int received_ = 0;
  int count_ = 0;
  int sent_ = 0;
  int phase_ = 0;
  int bits_ = 8;
};

}  // namespace periphery
