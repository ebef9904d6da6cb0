#include "platform/library.h"

#include <dlfcn.h>

#include "platform/filenames.h"

namespace platform {
namespace {

bool EndsWithNoCase(const std::string& s, const std::string& suffix) {
  return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

}  // namespace

std::string ResolveLibraryPath(const std::string& name, const std::string& folder) {
  if (name.empty()) return "";
  std::string path = name;
  if (name.find('/') == std::string::npos) {
    std::string dir = folder.empty() ? ProgramPath() : folder;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    path = dir + name;
  }
  // The name as written, then with ".DLL" mapped to ".so", then with ".so" added.
  std::vector<std::string> candidates{path};
  if (EndsWithNoCase(path, ".dll")) candidates.push_back(path.substr(0, path.size() - 4) + ".so");
  else if (!EndsWithNoCase(path, ".so")) candidates.push_back(path + ".so");
  for (const std::string& c : candidates) {
    if (FileName(c).empty()) continue;
    std::string found = ResolvePathNoCase(c);
    if (!found.empty()) return found;
  }
  return "";
}

LibraryHandle LoadLibrary(const std::string& name, const std::string& folder) {
  std::string path = ResolveLibraryPath(name, folder);
  if (path.empty()) return nullptr;
  return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* GetProcAddress(LibraryHandle library, const char* symbol) {
  if (!library || !symbol) return nullptr;
  return dlsym(library, symbol);
}

bool FreeLibrary(LibraryHandle library) {
  if (!library) return false;
  return dlclose(library) == 0;
}

std::string LastLibraryError() {
  const char* e = dlerror();
  return e ? e : "";
}

}  // namespace platform
