#include "std73xx_binding.h"

#include "pelto_folders.h"
#include "platform/library.h"
#include "platform/run_time_error.h"

namespace pelto {
namespace {

using Rom2RobFn = int (*)(const char*);
using ChecksumFn = int (*)(int, const char*, char*);

void* Export(const char* name) {
  static platform::LibraryHandle library = nullptr;
  if (library == nullptr) library = platform::LoadLibrary("STD73XX.DLL", LibraryFolder());
  if (library == nullptr) throw platform::RunTimeError(53, "File not found: STD73XX");
  void* entry = platform::GetProcAddress(library, name);
  if (entry == nullptr) throw platform::RunTimeError(453, "Can't find DLL entry point");
  return entry;
}

}  // namespace

int Rom2Rob(const std::string& romPath) {
  return reinterpret_cast<Rom2RobFn>(Export("rom2rob"))(romPath.c_str());
}

int PeltoChecksum(int romWords, const std::string& path, std::string& text) {
  char buffer[257] = {};
  const int result =
      reinterpret_cast<ChecksumFn>(Export("PELTOChecksum"))(romWords, path.c_str(), buffer);
  text = buffer;
  return result;
}

}  // namespace pelto
