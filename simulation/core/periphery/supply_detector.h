#pragma once
// A supply level detector: a measurement starts with a level (hundredths of
// a volt) and ends later with "low" (supply at or below the level) or not.
namespace periphery {

class SupplyDetector {
 public:
  constexpr void reset() { pending_ = false; level_ = 0; }

  constexpr void start(int level) {
    pending_ = true;
    level_ = level;
  }
  constexpr bool pending() const { return pending_; }
  constexpr int level() const { return level_; }

  // Ends a started measurement against `supply`: true when it is low.
  constexpr bool finish(int supply) {
    pending_ = false;
    return supply <= level_;
  }

 private:
  bool pending_ = false;
  int level_ = 0;
};

}  // namespace periphery
