#include "checksum_text.h"

#include <cstdio>

namespace pelto {
namespace {

void Append(std::string& text, uint8_t byte, bool padded) {
  char digits[3];
  std::snprintf(digits, sizeof digits, padded ? "%02X" : "%X", byte);
  text += digits;
}

}  // namespace

std::string ChecksumText(const uint8_t field[4], int padBytes, int32_t instructionSize) {
  std::string text;
  Append(text, field[0], true);
  Append(text, field[1], true);
  if (padBytes == 3) Append(text, field[2], instructionSize >= 20);
  if (padBytes == 4) Append(text, field[3], true);
  return text;
}

}  // namespace pelto
