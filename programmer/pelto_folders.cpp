#include "pelto_folders.h"

#include <cstdlib>

#include "platform/module_path.h"

namespace pelto {
namespace {

std::string FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  std::string folder = value != nullptr && *value != '\0' ? value : LibraryFolder();
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

std::string LibraryFolder() {
  return platform::ModuleFolder(reinterpret_cast<const void*>(&LibraryFolder));
}

std::string WindowsFolder() {
  return FromEnvironment("TAVIX_WINDOWS_DIR");
}

std::string SystemFolder() {
  return FromEnvironment("TAVIX_SYSTEM_DIR");
}

}  // namespace pelto
