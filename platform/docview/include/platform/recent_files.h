#pragma once
// The recent-file list of a program: the last opened or saved paths, newest
// first, kept in the registry under HKEY_CURRENT_USER "Software\<app>\Recent
// File List" as File1, File2, ...
#include <string>
#include <vector>

namespace platform {

class RecentFileList {
 public:
  RecentFileList(std::string application, size_t size);

  // Moves `path` to the top (it is listed once), dropping the oldest beyond
  // the size, and stores the list.
  void Add(const std::string& path);
  void Remove(const std::string& path);
  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  void load();
  void store() const;

  std::string key_;
  size_t size_;
  std::vector<std::string> paths_;
};

}  // namespace platform
