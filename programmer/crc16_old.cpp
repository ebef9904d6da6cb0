#include "crc16_old.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace pelto {
namespace {

constexpr uint32_t kFeedback = 0x0483;

uint32_t Step(uint32_t crc, uint32_t word) {
  const bool top = (crc & 0x8000) != 0;
  crc = ((crc << 1) ^ word) & 0xFFFF;
  return top ? crc ^ kFeedback : crc;
}

}  // namespace

int32_t FileCrc16Old(const std::string& path, int32_t maxrom) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return -1;
  const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                         std::istreambuf_iterator<char>());
  uint32_t crc = 0xFFFF;
  int32_t count = 0;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2, ++count) {
    crc = Step(crc, (bytes[i] << 8) | bytes[i + 1]);
  }
  for (; count < maxrom; ++count) crc = Step(crc, 0xFFFF);
  return static_cast<int32_t>(crc);
}

}  // namespace pelto
