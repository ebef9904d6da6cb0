#include "target_list.h"

#include <limits>

#include "platform/profile.h"
#include "platform/registry_settings.h"

namespace pelto {
namespace {

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Each field that a comma ends.
std::vector<std::string> Fields(const std::string& value) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t comma; (comma = value.find(',', start)) != std::string::npos; start = comma + 1) {
    fields.push_back(value.substr(start, comma - start));
  }
  return fields;
}

int32_t Number(const std::string& field, int32_t low, int32_t high) {
  const std::optional<int32_t> value = platform::ParseDecimal(field);
  return value && *value >= low && *value <= high ? *value : 0;
}

int16_t Short(const std::string& field) {
  return static_cast<int16_t>(
      Number(field, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

}  // namespace

std::vector<std::string> TargetNames(const std::string& specFile) {
  std::vector<char> buffer(65536);
  platform::GetPrivateProfileString("CONTROLERS", "LIST", "", buffer.data(),
                                    static_cast<uint32_t>(buffer.size()), specFile);
  std::vector<std::string> names;
  std::string list(buffer.data());
  list += ',';
  for (const std::string& field : Fields(list)) {
    if (std::string name = Trim(field); !name.empty()) names.push_back(name);
  }
  return names;
}

RomParams ReadRomParams(const std::string& specFile, const std::string& target,
                        const RomParams& current) {
  char buffer[255];
  platform::GetPrivateProfileString("ROM_PARAMS", target.c_str(), "", buffer, sizeof buffer,
                                    specFile);
  const std::vector<std::string> f = Fields(buffer);
  RomParams params = current;
  params.instructionSize = f.empty() ? 16 : Number(f[0], std::numeric_limits<int32_t>::min(),
                                                   std::numeric_limits<int32_t>::max());
  params.nbOfBlocks = f.size() >= 2 ? Short(f[1]) : 2;
  if (f.size() >= 2) params.blockSize = f.size() >= 3 ? Short(f[2]) : 1024;
  if (f.size() >= 3) params.padBytes = f.size() >= 4 ? Short(f[3]) : 2;
  return params;
}

}  // namespace pelto
