#pragma once
// An 8-bit synchronous shifter with a clock line: each clock step toggles the
// clock level; the falling phase samples the input and counts the bit; the
// next output bit appears on the falling phase or on the rising one (named
// option); the bit order is most or least significant bit first (named
// option). The transfer is done after 8 bits.
#include <cstdint>

namespace periphery {

enum class BitOrder { MsbFirst, LsbFirst };
enum class OutputPhase { Falling, Rising };

class ByteShifter {
 public:
  constexpr void reset() { *this = ByteShifter{}; }

  // A new transfer of `data`; the clock starts low, the first bit is out.
  constexpr void start(int data, BitOrder order, OutputPhase phase) {
    data_ = data & 0xFF;
    order_ = order;
    phase_ = phase;
    received_ = 0;
    count_ = 0;
    clock_ = false;
    running_ = true;
    out_ = bitToSend(0);
  }
  constexpr void stop() { running_ = false; }

  struct Clock {
    bool changed = false;  // clock or output line changed
    bool done = false;     // the eighth bit was received
  };

  // One clock step with input level `in`.
  constexpr Clock clock(bool in) {
    Clock r;
    if (!running_) return r;
    clock_ = !clock_;
    r.changed = true;
    if (!clock_) {  // falling: sample, count
      if (order_ == BitOrder::MsbFirst)
        received_ = ((received_ << 1) | (in ? 1 : 0)) & 0xFF;
      else
        received_ = (received_ >> 1) | (in ? 0x80 : 0);
      if (++count_ == 8) {
        running_ = false;
        r.done = true;
        return r;
      }
      if (phase_ == OutputPhase::Falling) out_ = bitToSend(count_);
    } else if (phase_ == OutputPhase::Rising) {
      out_ = bitToSend(count_);
    }
    return r;
  }

  constexpr bool running() const { return running_; }
  constexpr bool clockLevel() const { return clock_; }
  constexpr bool out() const { return out_; }
  constexpr int received() const { return received_; }
  constexpr int bitCount() const { return count_; }

 private:
  constexpr bool bitToSend(int index) const {
    const int bit = order_ == BitOrder::MsbFirst ? 7 - index : index;
    return ((data_ >> bit) & 1) != 0;
  }

  int data_ = 0;
  int received_ = 0;
  int count_ = 0;
  bool clock_ = false;
  bool out_ = false;
  bool running_ = false;
  BitOrder order_ = BitOrder::MsbFirst;
  OutputPhase phase_ = OutputPhase::Falling;
};

}  // namespace periphery
