#include "settings/global_numbers.h"

#include "settings/hex_digit.h"

namespace monitor {

int32_t HexToNumber(const std::string& text, int16_t wide) {
  if (text.empty() || text.size() > 8) return 0;
  uint32_t bits = 0;
  for (char c : text) {
    int d = HexDigit(c);
    if (d < 0) return 0;
    bits = bits << 4 | static_cast<uint32_t>(d);
  }
  if (text.size() <= 4) return static_cast<int16_t>(bits);
  return wide ? static_cast<int32_t>(bits) : 0;
}

std::optional<int32_t> LeadingHexValue(const std::string& text, bool wide) {
  constexpr size_t kMostDigits = 8;
  size_t count = 0;
  uint32_t bits = 0;
  for (char c : text) {
    const int d = HexDigit(c);
    if (d < 0) break;
    if (++count > kMostDigits) return std::nullopt;
    bits = bits << 4 | static_cast<uint32_t>(d);
  }
  if (count <= 4) return static_cast<int16_t>(bits);
  const auto value = static_cast<int32_t>(bits);
  if (!wide && (value < INT16_MIN || value > INT16_MAX)) return std::nullopt;
  return value;
}

std::string NumberToHex(int16_t value) {
  static const char digits[] = "0123456789ABCDEF";
  uint16_t bits = static_cast<uint16_t>(value);
  return {digits[bits >> 12], digits[bits >> 8 & 15], digits[bits >> 4 & 15], digits[bits & 15]};
}

int16_t IsNonZero(int16_t value) {
  return value != 0 ? 1 : 0;
}

}  // namespace monitor
