#include "loaded_module.h"

#include <k42target.h>

#include <filesystem>
#include <system_error>

namespace stdk42xx {

LoadedModule::~LoadedModule() {
  // Process end: nothing runs any more.
  for (platform::LibraryHandle h : retired_) platform::FreeLibrary(h);
  if (handle_ != nullptr) platform::FreeLibrary(handle_);
}

void* LoadedModule::find(const char* name) const {
  return handle_ != nullptr ? platform::GetProcAddress(handle_, name) : nullptr;
}

void LoadedModule::retire(platform::LibraryHandle handle) {
  if (handle == nullptr) return;
  if (executeDepth_ == 0) {
    platform::FreeLibrary(handle);
    return;
  }
  // Its code is on the stack: end the run and free it once it has returned.
  if (auto breakRun = reinterpret_cast<InstructionBreakFn>(
          platform::GetProcAddress(handle, "Instruction_Break")))
    breakRun(k42::kStopStep);
  retired_.push_back(handle);
}

void LoadedModule::release() {
  platform::LibraryHandle old = handle_;
  handle_ = nullptr;
  retire(old);
}

bool LoadedModule::replace(const std::string& file, const std::string& folderPath) {
  release();
  handle_ = platform::LoadLibrary(file, folderPath);
  if (handle_ == nullptr && file.find('/') == std::string::npos) {
    // As the system loader would: the current folder after the program folder.
    std::error_code error;
    std::filesystem::path cwd = std::filesystem::current_path(error);
    if (!error) handle_ = platform::LoadLibrary(file, cwd.string() + "/");
  }
  return handle_ != nullptr;
}

void LoadedModule::leaveExecute() {
  if (--executeDepth_ > 0) return;
  std::vector<platform::LibraryHandle> retired;
  retired.swap(retired_);
  for (platform::LibraryHandle h : retired) platform::FreeLibrary(h);
}

}  // namespace stdk42xx
