#include "protocol/status.h"

#include <algorithm>
#include <cstdio>

namespace protocol {
namespace {

void AppendHex(std::string& text, uint8_t byte, bool padded) {
  char digits[3];
  std::snprintf(digits, sizeof digits, padded ? "%02X" : "%X", byte);
  text += digits;
}

}  // namespace

bool Standalone(uint8_t commandRegister) {
  return (commandRegister & 0x10) != 0;
}

ProgrammerStatus DecodeStatus(const Bytes& answer, int count) {
  const size_t seen = std::min(answer.size(), static_cast<size_t>(std::max(count, 0)));
  const auto has = [&](size_t last) { return last < seen; };
  const auto sum = [&](size_t low) {
    std::string text;
    AppendHex(text, answer[low + 1], true);
    AppendHex(text, answer[low], true);
    return text;
  };
  ProgrammerStatus status;
  if (has(0x0A)) {
    std::string serial;
    for (size_t i = 0x07; i <= 0x0A; ++i) AppendHex(serial, answer[i], false);
    status.serial = serial;
  }
  if (has(kModeOffset)) status.standalone = Standalone(answer[kModeOffset]);
  if (has(kProgrammerSumOffset + 1)) status.programmerSum = sum(kProgrammerSumOffset);
  if (has(kDeviceSumOffset + 1)) status.deviceSum = sum(kDeviceSumOffset);
  return status;
}

std::string SumText(const uint8_t field[4], int wordBytes, int32_t width) {
  std::string text;
  AppendHex(text, field[0], true);
  AppendHex(text, field[1], true);
  if (wordBytes == 3) AppendHex(text, field[2], width >= 20);
  if (wordBytes == 4) AppendHex(text, field[3], true);
  return text;
}

}  // namespace protocol
