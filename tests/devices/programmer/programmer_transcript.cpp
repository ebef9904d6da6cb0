#include "programmer_transcript.h"

#include <cstdio>

namespace testdevices {

std::string HexBytes(const std::vector<uint8_t>& bytes) {
  std::string text;
  text.reserve(bytes.size() * 3);
  char hex[4];
  for (uint8_t byte : bytes) {
    std::snprintf(hex, sizeof hex, "%02X", byte);
    if (!text.empty()) text += ' ';
    text += hex;
  }
  return text;
}

std::string ProgrammerEvent::Text() const {
  switch (kind) {
    case kAttach:
      return "attach";
    case kDetach:
      return "detach";
    case kDtr:
      return value ? "DTR on" : "DTR off";
    case kRts:
      return value ? "RTS on" : "RTS off";
    case kDiscard:
      return "discard " + std::to_string(value) + " bytes";
    case kRead:
    case kWrite:
    case kUnknown:
      break;
  }
  return HexBytes(frame);
}

}  // namespace testdevices
