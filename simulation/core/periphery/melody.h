#pragma once
// A melody frequency divider: an 8-bit divider of a base clock; a divider of
// 0 gives no tone.
namespace periphery {

class MelodyDivider {
 public:
  explicit constexpr MelodyDivider(double baseHz) : base_(baseHz) {}

  constexpr void reset() { frequency_ = 0.0; }
  // Frequency = base / (divider + 1); 0 for divider 0.
  constexpr void setDivider(int divider) {
    divider &= 0xFF;
    frequency_ = divider == 0 ? 0.0 : base_ / (divider + 1);
  }
  constexpr double frequency() const { return frequency_; }

 private:
  double base_;
  double frequency_ = 0.0;
};

}  // namespace periphery
