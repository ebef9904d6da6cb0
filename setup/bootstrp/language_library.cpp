#include "language_library.h"

namespace vanstall {

bool LanguageLibrary::Load(const std::string& path) {
  Free();
  handle_ = platform::LoadLibrary(path);
  if (handle_) path_ = path;
  return handle_ != nullptr;
}

void LanguageLibrary::Free() {
  if (handle_) platform::FreeLibrary(handle_);
  handle_ = nullptr;
  path_.clear();
  bound_ = false;
  loadString_ = nullptr;
  getDialog_ = nullptr;
}

bool LanguageLibrary::Bind() {
  if (!bound_ && handle_) {
    loadString_ = reinterpret_cast<int (*)(unsigned, char*, int)>(
        platform::GetProcAddress(handle_, "BootLoadString"));
    getDialog_ = reinterpret_cast<const BootDialog* (*)(unsigned)>(
        platform::GetProcAddress(handle_, "BootGetDialog"));
    bound_ = true;
  }
  return handle_ != nullptr;
}

std::string LanguageLibrary::String(unsigned id) {
  if (!Bind() || !loadString_) return "";
  char buffer[1024];
  const int n = loadString_(id, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : "";
}

const BootDialog* LanguageLibrary::Dialog(unsigned id) {
  if (!Bind() || !getDialog_) return nullptr;
  return getDialog_(id);
}

}  // namespace vanstall
