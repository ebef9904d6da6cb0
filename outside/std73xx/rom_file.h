#pragma once
// The ".rom" file: text, one hexadecimal word per line, with an optional
// first line "WIDTH=18" or "WIDTH=22" (18 when there is none); blank lines are
// skipped. Its ".rob" conversion holds 3 bytes per word: the word's
// complement within its width, high byte first.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace std73xx {

struct RomFile {
  int width = 18;
  std::vector<uint32_t> words;
};

// Nothing when the file cannot be read, a line is not a hexadecimal word of
// the width, or the width is neither 18 nor 22.
std::optional<RomFile> ReadRomFile(const std::string& path);

// The ".rob" bytes of the words.
std::string RobBytes(const RomFile& rom);

}  // namespace std73xx
