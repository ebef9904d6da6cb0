#pragma once
// The 16-bit signature of a code image (16-bit words, high byte first),
// padded to the size of the target's program memory: a multiple-input
// signature register with feedback 0x0483, fed with the inverted words.
#include <cstdint>
#include <string>

namespace stdk42xx {

class Signature {
 public:
  void feed(uint16_t word) {
    const uint16_t w = word ^ 0xFFFF;
    const bool top = (s_ & 0x8000) != 0;
    s_ = static_cast<uint16_t>((s_ << 1) ^ w);
    if (top) s_ ^= 0x0483;
  }
  uint16_t value() const { return s_; }

 private:
  uint16_t s_ = 0xFFFF;
};

// The signature of the file as "%04X" in `text`. Returns the number of whole
// words read, -1 for a type other than 16, -2 when the file cannot be opened
// (text untouched on both).
int32_t CodeFileChecksum(int32_t type, const std::string& path, int32_t words, std::string& text);

}  // namespace stdk42xx
