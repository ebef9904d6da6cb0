#pragma once
// A melody cycle counter: counts down at its clock while not 0; reaching 0
// is the chip's request, and with autoreload it starts again from the load
// value.
namespace periphery {

class MelodyCounter {
 public:
  constexpr void reset() { *this = MelodyCounter{}; }

  constexpr void load(int value) { count_ = value; reload_ = value; }
  constexpr void setAutoReload(bool on) { autoReload_ = on; }
  constexpr bool running() const { return count_ != 0; }
  constexpr int count() const { return count_; }

  // One clock; true when the count reached 0.
  constexpr bool clock() {
    if (count_ == 0 || --count_ != 0) return false;
    if (autoReload_) count_ = reload_;
    return true;
  }

 private:
  int count_ = 0;
  int reload_ = 0;
  bool autoReload_ = false;
};

}  // namespace periphery
