#include "workbench/controller_names.h"

#include <cstdint>
#include <cstring>

#include "platform/library.h"
#include "platform/run_time_error.h"

namespace monitor {

namespace {

constexpr const char* kModuleName = "STDK42XX.DLL";
using GetControllerFn = int32_t (*)(int32_t, char*, int32_t, const char*);

// The module, loaded for the enumeration and freed after it.
class ModuleHold {
 public:
  explicit ModuleHold(const std::string& folder)
      : handle_(platform::LoadLibrary(kModuleName, folder)) {
    if (handle_ == nullptr)
      throw platform::RunTimeError(53, std::string("File not found: ") + kModuleName);
  }
  ~ModuleHold() { platform::FreeLibrary(handle_); }
  ModuleHold(const ModuleHold&) = delete;
  ModuleHold& operator=(const ModuleHold&) = delete;
  void* Export(const char* name) const {
    void* address = platform::GetProcAddress(handle_, name);
    if (address == nullptr) {
      throw platform::RunTimeError(
          453, std::string("Can't find DLL entry point ") + name + " in " + kModuleName);
    }
    return address;
  }

 private:
  platform::LibraryHandle handle_;
};

}  // namespace

std::vector<std::string> ReadControllerNames(const std::string& programPath) {
  const ModuleHold module(programPath);
  const auto getController = reinterpret_cast<GetControllerFn>(module.Export("GetController"));
  std::vector<std::string> names;
  for (int32_t n = 1;; ++n) {
    char buffer[256] = {};
    if (getController(n, buffer, 255, programPath.c_str()) == -1) break;
    names.emplace_back(buffer, strnlen(buffer, 255));
  }
  return names;
}

}  // namespace monitor
