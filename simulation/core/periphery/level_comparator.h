#pragma once
// Voltage comparisons of a chip's analogue periphery, in hundredths of a
// volt:
//   PowerOnComparator  the supply comparator with hysteresis that holds a
//                      chip in power-on reset: up once the supply reaches the
//                      rise level, down again below the fall level.
//   LevelComparator    a measurement of one voltage against one threshold,
//                      single (ends after one result) or continuous, one
//                      measurement per step while active.
namespace periphery {

class PowerOnComparator {
 public:
  constexpr void reset() { up_ = false; }
  // The state after comparing `supply`; the caller holds the chip while down.
  constexpr bool check(int supply, int fallBelow, int riseAt) {
    up_ = supply >= (up_ ? fallBelow : riseAt);
    return up_;
  }
  constexpr bool up() const { return up_; }

 private:
  bool up_ = false;
};

class LevelComparator {
 public:
  struct Result {
    bool measured = false;
    bool atOrAbove = false;
  };

  constexpr void reset() { *this = LevelComparator{}; }
  constexpr void start() { active_ = true; }
  constexpr void setContinuous(bool on) {
    continuous_ = on;
    if (on) active_ = true;
  }
  constexpr bool active() const { return active_; }
  constexpr bool continuous() const { return continuous_; }

  // One measurement step: while active, compares and, unless continuous,
  // ends the measurement.
  constexpr Result step(int voltage, int threshold) {
    Result r;
    if (!active_) return r;
    r.measured = true;
    r.atOrAbove = voltage >= threshold;
    if (!continuous_) active_ = false;
    return r;
  }

 private:
  bool active_ = false;
  bool continuous_ = false;
};

}  // namespace periphery
