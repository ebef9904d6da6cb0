#pragma once
// The loaded language library BOOT<key>.DLL: its strings and dialog
// descriptions, bound by name on first use; freeing it forgets the bindings.
#include <string>

#include "platform/library.h"
#include "setup/boot_language.h"

namespace vanstall {

class LanguageLibrary {
 public:
  ~LanguageLibrary() { Free(); }
  bool Load(const std::string& path);
  void Free();
  bool Loaded() const { return handle_ != nullptr; }
  const std::string& Path() const { return path_; }

  std::string String(unsigned id);
  const BootDialog* Dialog(unsigned id);

 private:
  bool Bind();
  platform::LibraryHandle handle_ = nullptr;
  std::string path_;
  bool bound_ = false;
  int (*loadString_)(unsigned, char*, int) = nullptr;
  const BootDialog* (*getDialog_)(unsigned) = nullptr;
};

}  // namespace vanstall
