#include "controller_list.h"

#include <platform/filenames.h>
#include <platform/profile.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace stdk42xx {

namespace {
constexpr const char* kSection = "Controllers";
}

std::string FolderPath(const char* folder) {
  std::string path = folder != nullptr ? folder : "";
  std::replace(path.begin(), path.end(), '\\', '/');
  if (!path.empty() && path.back() != '/') path += '/';
  return path;
}

std::string ConfigFile(const std::string& folderPath) {
  return platform::FindOrKeepPath(folderPath + "TAVIX.INI");
}

std::vector<std::string> ControllerNames(const std::string& folderPath) {
  return platform::ProfileKeys(ConfigFile(folderPath), kSection);
}

std::string ControllerModuleFile(const std::string& folderPath, const std::string& name) {
  return platform::ReadProfileString(ConfigFile(folderPath), kSection, name, kNotFound);
}

void CopyToBuffer(const std::string& text, char* buffer, int32_t length) {
  if (buffer == nullptr || length <= 0) return;
  const size_t n = std::min(text.size(), static_cast<size_t>(length) - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

}  // namespace stdk42xx
