#pragma once
// The chip module that STDK42XX forwards to. A run pumps messages, so the
// module may be replaced or unloaded from inside its own Instruction_Execute:
// then it is asked to break, and freed only when the outermost forwarded
// execute has returned.
#include <platform/library.h>

#include <string>
#include <vector>

namespace stdk42xx {

class LoadedModule {
 public:
  LoadedModule() = default;
  ~LoadedModule();
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  // The export of that name, or null (also when nothing is loaded).
  void* find(const char* name) const;

  // Lets the current module go, then loads `file` (resolved in folderPath,
  // then the current folder). False when it cannot be loaded: none is loaded.
  bool replace(const std::string& file, const std::string& folderPath);
  // Lets the current module go; none is loaded afterwards.
  void release();

  // Brackets a forwarded Instruction_Execute.
  void enterExecute() { ++executeDepth_; }
  void leaveExecute();

  int executeDepth() const { return executeDepth_; }

 private:
  void retire(platform::LibraryHandle handle);

  platform::LibraryHandle handle_ = nullptr;
  int executeDepth_ = 0;
  std::vector<platform::LibraryHandle> retired_;
};

}  // namespace stdk42xx
