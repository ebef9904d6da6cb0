#pragma once
// A supply level detector: a measurement starts with a level (hundredths of
// a volt) and ends later with "low" or not. Whether a supply exactly at the
// level is low differs between chips.
#include <cstdint>

namespace periphery {

enum class LowWhen : uint8_t {
  AtOrBelow,  // supply <= level
  Below,      // supply < level
};

class SupplyDetector {
 public:
  constexpr SupplyDetector() = default;
  explicit constexpr SupplyDetector(LowWhen rule) : rule_(rule) {}

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
    return rule_ == LowWhen::Below ? supply < level_ : supply <= level_;
  }

 private:
  LowWhen rule_ = LowWhen::AtOrBelow;
  bool pending_ = false;
  int level_ = 0;
};

}  // namespace periphery
