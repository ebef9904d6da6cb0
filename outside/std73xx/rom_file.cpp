#include "rom_file.h"

#include <cctype>
#include <sstream>

#include "platform/read_file.h"

namespace std73xx {
namespace {

std::string Trim(const std::string& line) {
  const size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

std::optional<uint32_t> HexWord(const std::string& text, int width) {
  if (text.empty() || text.size() > 6) return std::nullopt;
  uint32_t value = 0;
  for (char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 16 + static_cast<uint32_t>(std::stoul(std::string(1, c), nullptr, 16));
  }
  if (value >> width != 0) return std::nullopt;
  return value;
}

}  // namespace

std::optional<RomFile> ReadRomFile(const std::string& path) {
  std::string content;
  if (!platform::ReadWholeFile(path, content)) return std::nullopt;
  std::istringstream file(content);
  RomFile rom;
  bool first = true;
  for (std::string line; std::getline(file, line); first = false) {
    line = Trim(line);
    if (line.empty()) continue;
    if (first && line.rfind("WIDTH=", 0) == 0) {
      const std::string width = line.substr(6);
      if (width != "18" && width != "22") return std::nullopt;
      rom.width = std::stoi(width);
      continue;
    }
    const std::optional<uint32_t> word = HexWord(line, rom.width);
    if (!word) return std::nullopt;
    rom.words.push_back(*word);
  }
  return rom;
}

std::string RobBytes(const RomFile& rom) {
  const uint32_t mask = (1u << rom.width) - 1;
  std::string bytes;
  bytes.reserve(rom.words.size() * 3);
  for (uint32_t word : rom.words) {
    const uint32_t complement = ~word & mask;
    bytes += static_cast<char>((complement >> 16) & 0xFF);
    bytes += static_cast<char>((complement >> 8) & 0xFF);
    bytes += static_cast<char>(complement & 0xFF);
  }
  return bytes;
}

}  // namespace std73xx
