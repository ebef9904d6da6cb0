#pragma once
// An 8-bit A/D converter with two analogue inputs (set from the window) and a
// conversion countdown in ticks. Channel 1 and 2 read the inputs, the other
// channels read 0. Whether it converts once or continuously, and where the
// result and request go, is the chip's.
namespace periphery {

class Adc8 {
 public:
  explicit constexpr Adc8(int conversionTicks) : conversionTicks_(conversionTicks) {}

  // Conversion state only: the inputs belong to the outside world.
  constexpr void reset() {
    converting_ = false;
    countdown_ = 0;
  }

  constexpr void start() {
    countdown_ = conversionTicks_;
    converting_ = true;
  }
  constexpr void stop() { converting_ = false; }

  // One tick; true when a conversion ends in it.
  constexpr bool tick() {
    if (!converting_) return false;
    return --countdown_ <= 0;
  }

  constexpr void setInput(int channel, int value) {
    if (channel == 1 || channel == 2) inputs_[channel - 1] = value & 0xFF;
  }
  constexpr int input(int channel) const {
    return (channel == 1 || channel == 2) ? inputs_[channel - 1] : 0;
  }
  constexpr bool converting() const { return converting_; }

 private:
  int conversionTicks_;
  int inputs_[2] = {0, 0};
  int countdown_ = 0;
  bool converting_ = false;
};

}  // namespace periphery
