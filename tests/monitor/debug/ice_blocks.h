#pragma once
// The simulated emulator's transcript lines of a write block, and a search
// for them in a transcript.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace paneltest {

using Lines = std::vector<std::string>;

// The units of a write block as the transcript shows them: the header, then
// one line per unit, low byte first.
inline Lines WriteBlock(int address, const std::vector<uint32_t>& units) {
  const auto line = [](uint32_t bytes, const char* kind, int at, const std::string& tail) {
    char text[64];
    std::snprintf(text, sizeof text, "%02X %02X %02X %s %04X %s", bytes & 0xFF, (bytes >> 8) & 0xFF,
                  (bytes >> 16) & 0xFF, kind, at, tail.c_str());
    return std::string(text);
  };
  const auto count = static_cast<uint32_t>(units.size());
  const auto header = static_cast<uint32_t>((address & 63) * 4 + 2) |
                      static_cast<uint32_t>(address / 64) << 8 | count << 16;
  Lines lines{line(header, "write", address, std::to_string(count))};
  for (size_t n = 0; n < units.size(); ++n) {
    char value[8];
    std::snprintf(value, sizeof value, "%06X", units[n]);
    lines.push_back(line(units[n], "data", address + static_cast<int>(n), value));
  }
  return lines;
}

inline bool Holds(const Lines& wire, const Lines& block) {
  return std::search(wire.begin(), wire.end(), block.begin(), block.end()) != wire.end();
}

}  // namespace paneltest
