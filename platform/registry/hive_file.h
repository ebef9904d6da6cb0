#pragma once
// One hive kept in step with its file. Reads reload the file only when it
// changed (one stat otherwise); changes are made under an exclusive lock on
// a lock file beside the hive, on a freshly loaded tree, and saved whole
// through an atomic replace, so writers in other processes are never lost.
// A hive that is not a regular file, or is too big, cannot be read: its tree
// is empty and nothing is saved over it. Failures are said once on standard
// error, as the registry has no window.
#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "hive_model.h"

namespace platform::hive {

class HiveFile {
 public:
  explicit HiveFile(std::string rootName) : rootName_(std::move(rootName)) {}

  // The tree as the hive file in `folder` holds it now.
  Key& Current(const std::string& folder);

  // Runs `change` on the current tree under the lock and saves the file when
  // it reports a change. Returns the status `change` gives, or 1016 when the
  // file could not be written (the tree then reflects the file again).
  using ChangeFunction = std::function<int32_t(Key& root, bool& changed)>;
  int32_t Change(const std::string& folder, const ChangeFunction& change);

 private:
  struct FileId {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    bool operator==(const FileId& o) const;
  };

  void UseFolder(const std::string& folder);
  void Refresh();
  void Load(const FileId& seen);
  // 0, or the errno of the failure.
  int Save();
  // Status 1016, the failure reported once on standard error.
  int32_t SaveFailed(int error) const;
  bool KeepDamagedFile();
  std::string FreeBadName() const;

  std::string rootName_;
  std::string folder_;
  std::string path_;
  Key root_;
  FileId id_;
  bool known_ = false;    // root_ holds what the file `id_` describes held
  bool damaged_ = false;  // that file has lines that did not parse
  int unreadable_ = 0;    // the errno that kept that file from being read: never written over
  std::string badPath_;   // where a damaged file is kept at the next save
};

}  // namespace platform::hive
