#include "link_frames.h"

#include <cctype>

namespace platform::link {

std::string EncodeFrame(char type, const std::string& payload) {
  uint32_t n = static_cast<uint32_t>(payload.size());
  std::string frame;
  frame.reserve(kHeaderSize + payload.size());
  for (int i = 0; i < 4; ++i) frame += static_cast<char>((n >> (8 * i)) & 0xFF);
  frame += type;
  frame += payload;
  return frame;
}

bool DecodeFrame(std::string& buffer, char& type, std::string& payload, bool& bad) {
  bad = false;
  if (buffer.size() < kHeaderSize) return false;
  uint32_t n = 0;
  for (int i = 0; i < 4; ++i)
    n |= static_cast<uint32_t>(static_cast<unsigned char>(buffer[i])) << (8 * i);
  if (n > kMaxPayload) {
    bad = true;
    return false;
  }
  if (buffer.size() < kHeaderSize + n) return false;
  type = buffer[4];
  payload = buffer.substr(kHeaderSize, n);
  buffer.erase(0, kHeaderSize + n);
  return true;
}

std::string UpperName(const std::string& name) {
  std::string s = name;
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace platform::link
