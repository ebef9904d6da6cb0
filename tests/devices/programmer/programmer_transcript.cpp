#include "programmer_transcript.h"

#include <cstdio>

#include "line_change_text.h"

namespace testdevices {

static_assert(ProgrammerEvent::kAttach == static_cast<int>(LineChange::kAttach) &&
              ProgrammerEvent::kRts == static_cast<int>(LineChange::kRts));

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
    case kDetach:
    case kDtr:
    case kRts:
      return LineChangeText(static_cast<LineChange>(kind), value != 0);
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
