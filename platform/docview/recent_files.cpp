#include "platform/recent_files.h"

#include <algorithm>

#include "platform/registry.h"

namespace platform {

RecentFileList::RecentFileList(std::string application, size_t size)
    : key_("Software\\" + application + "\\Recent File List"), size_(size) {
  load();
}

void RecentFileList::Add(const std::string& path) {
  Remove(path);
  paths_.insert(paths_.begin(), path);
  if (paths_.size() > size_) paths_.resize(size_);
  store();
}

void RecentFileList::Remove(const std::string& path) {
  const auto old = paths_.size();
  paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
  if (paths_.size() != old) store();
}

void RecentFileList::load() {
  HKEY key = 0;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, key_, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
  for (size_t i = 1; i <= size_; ++i) {
    char text[1024];
    uint32_t type = 0, size = sizeof text;
    if (RegQueryValueEx(key, "File" + std::to_string(i), &type, text, &size) != ERROR_SUCCESS ||
        type != REG_SZ || size == 0)
      continue;
    paths_.emplace_back(text, size);
  }
  RegCloseKey(key);
}

void RecentFileList::store() const {
  HKEY key = 0;
  if (RegCreateKeyEx(HKEY_CURRENT_USER, key_, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  for (size_t i = 0; i < size_; ++i) {
    const std::string path = i < paths_.size() ? paths_[i] : std::string();
    RegSetValueEx(key, "File" + std::to_string(i + 1), REG_SZ, path.data(), static_cast<uint32_t>(path.size()));
  }
  RegCloseKey(key);
}

}  // namespace platform
