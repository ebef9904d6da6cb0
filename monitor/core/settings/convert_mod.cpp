#include "settings/convert_mod.h"

#include "platform/run_time_error.h"
#include "settings/hex_digit.h"

namespace monitor {

namespace {
constexpr int kOverflow = 6;

[[noreturn]] void RaiseOverflow() {
  throw platform::RunTimeError(kOverflow, "Overflow");
}
}  // namespace

int32_t HexStrToLong(const std::string& text) {
  int32_t value = 0;
  for (char c : text) {
    if (value > INT32_MAX / 16) RaiseOverflow();
    int digit = HexDigit(c);
    value = value * 16 + (digit < 0 ? 0 : digit);
  }
  return value;
}

int32_t HexStr6ToLong(std::string& text) {
  std::string padded = "000000" + text;
  text = padded.substr(padded.size() - 6);
  return HexStrToLong(text.substr(0, 5));
}

std::array<uint8_t, 3> LongToBytes3(int32_t value) {
  if (value < 0 || value > 0xFFFFFF) RaiseOverflow();
  return {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8 & 0xFF),
          static_cast<uint8_t>(value >> 16)};
}

}  // namespace monitor
