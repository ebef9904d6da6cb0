#include "ice_transcript.h"

#include <algorithm>
#include <cstdio>

namespace testdevices {

std::string IceEvent::Text() const {
  char buf[96];
  char unit[16];
  std::snprintf(unit, sizeof unit, "%02X %02X %02X", raw[0], raw[1], raw[2]);
  switch (kind) {
    case kAttach:
      return "attach";
    case kDetach:
      return "detach";
    case kDtr:
      return value ? "DTR on" : "DTR off";
    case kRts:
      return value ? "RTS on" : "RTS off";
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

namespace {

std::string UnitLine(uint32_t bytes, const char* kind, int at, const std::string& tail) {
  char text[64];
  std::snprintf(text, sizeof text, "%02X %02X %02X %s %04X %s", bytes & 0xFF, (bytes >> 8) & 0xFF,
                (bytes >> 16) & 0xFF, kind, at, tail.c_str());
  return text;
}

uint32_t Header(int address, int tag, int count) {
  return static_cast<uint32_t>((address & 63) * 4 + tag) |
         static_cast<uint32_t>(address / 64 & 0xFF) << 8 |
         static_cast<uint32_t>(count & 0xFF) << 16;
}

}  // namespace

TranscriptLines WriteBlock(int address, const std::vector<uint32_t>& units) {
  const int count = static_cast<int>(units.size());
  TranscriptLines lines{
      UnitLine(Header(address, 2, count), "write", address, std::to_string(count))};
  for (size_t n = 0; n < units.size(); ++n) {
    char value[8];
    std::snprintf(value, sizeof value, "%06X", units[n]);
    lines.push_back(UnitLine(units[n], "data", address + static_cast<int>(n), value));
  }
  return lines;
}

std::string ReadRequest(int address, int count) {
  return UnitLine(Header(address, 0, count), "read", address, std::to_string(count));
}

bool Holds(const TranscriptLines& transcript, const TranscriptLines& block) {
  return std::search(transcript.begin(), transcript.end(), block.begin(), block.end()) !=
         transcript.end();
}

}  // namespace testdevices
