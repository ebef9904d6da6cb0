#pragma once
// A set of register numbers 0..127, used as a chip's register map: the
// registers with periphery behaviour. Membership is one shift and mask.
#include <cstdint>
#include <initializer_list>

namespace simcore {

class RegisterSet {
 public:
  constexpr RegisterSet() = default;
  constexpr RegisterSet(std::initializer_list<int> registers) {
    for (int n : registers) add(n);
  }

  // The two halves are picked by a branch rather than an index, so a set
  // known at compile time folds into immediates (often no test at all for
  // registers 0-63).
  constexpr bool contains(int n) const {
    const uint64_t half = (n & 64) != 0 ? bits_[1] : bits_[0];
    return ((half >> (n & 63)) & 1) != 0;
  }

  constexpr RegisterSet& add(int n) {
    bits_[(n >> 6) & 1] |= uint64_t{1} << (n & 63);
    return *this;
  }

  constexpr RegisterSet with(const RegisterSet& other) const {
    RegisterSet s = *this;
    s.bits_[0] |= other.bits_[0];
    s.bits_[1] |= other.bits_[1];
    return s;
  }

 private:
  uint64_t bits_[2] = {0, 0};
};

}  // namespace simcore
