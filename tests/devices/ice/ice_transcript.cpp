#include "ice_transcript.h"

#include <cstdio>

#include "line_change_text.h"

namespace testdevices {

static_assert(IceEvent::kAttach == static_cast<int>(LineChange::kAttach) &&
              IceEvent::kRts == static_cast<int>(LineChange::kRts));

std::string IceEvent::Text() const {
  char buf[96];
  char unit[16];
  std::snprintf(unit, sizeof unit, "%02X %02X %02X", raw[0], raw[1], raw[2]);
  switch (kind) {
    case kAttach:
    case kDetach:
    case kDtr:
    case kRts:
      return LineChangeText(static_cast<LineChange>(kind), value != 0);
    case kRead:
      std::snprintf(buf, sizeof buf, "%s read %04X %d", unit, a, b);
      break;
    case kWord:
      std::snprintf(buf, sizeof buf, "%s word %d", unit, a);
      break;
    case kWriteHeader:
      std::snprintf(buf, sizeof buf, "%s write %04X %d", unit, a, b);
      break;
    case kData:
      std::snprintf(buf, sizeof buf, "%s data %04X %06X", unit, a, static_cast<unsigned>(value));
      break;
    case kUnknown:
      std::snprintf(buf, sizeof buf, "%s unknown", unit);
      break;
    case kDiscard:
      std::snprintf(buf, sizeof buf, "discard %d bytes %d units", a, b);
      break;
  }
  return buf;
}

}  // namespace testdevices
