#pragma once
// The folder of the shared library (or program) that holds a given address:
// a module finds files beside itself, wherever the program folder is.
#include <dlfcn.h>

#include <string>

#include "platform/filenames.h"

namespace platform {

// The folder, with a trailing '/', of the loaded object containing
// `address` (pass the address of a function of the calling module); "" when
// the loader cannot tell.
inline std::string ModuleFolder(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return "";
  return FolderOf(info.dli_fname);
}

}  // namespace platform
