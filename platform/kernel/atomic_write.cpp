#include "platform/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/filenames.h"

namespace platform {

AtomicFile::~AtomicFile() {
  Discard();
}

bool AtomicFile::Fail() {
  if (error_ == 0) error_ = errno != 0 ? errno : EIO;
  return false;
}

void AtomicFile::Discard() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temp_.empty()) unlink(temp_.c_str());
  temp_.clear();
}

bool AtomicFile::Open(const std::string& path) {
  Discard();
  path_ = path;
  error_ = 0;
  const std::string folder = FolderOf(path);
  temp_ = (folder.empty() ? std::string("./") : folder) + "." + FileName(path) + ".XXXXXX";
  fd_ = mkostemp(temp_.data(), O_CLOEXEC);
  if (fd_ < 0) {
    temp_.clear();
    return Fail();
  }
  // Keep the permissions of the file being replaced.
  struct stat st;
  if (stat(path.c_str(), &st) == 0)
    fchmod(fd_, st.st_mode & 07777);
  else
    fchmod(fd_, 0644);
  return true;
}

bool AtomicFile::Write(std::string_view data) {
  if (fd_ < 0 || error_ != 0) return false;
  while (!data.empty()) {
    const ssize_t n = write(fd_, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail();
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool AtomicFile::Commit() {
  if (fd_ < 0 || error_ != 0) {
    Discard();
    return false;
  }
  bool ok = fsync(fd_) == 0 || Fail();
  if (close(fd_) != 0 && ok) ok = Fail();
  fd_ = -1;
  if (ok && rename(temp_.c_str(), path_.c_str()) != 0) ok = Fail();
  if (ok) temp_.clear();
  Discard();
  return ok;
}

bool WriteFileAtomically(const std::string& path, const std::string& content, int* error) {
  AtomicFile file;
  const bool ok = file.Open(path) && file.Write(content) && file.Commit();
  if (!ok && error != nullptr) *error = file.Error();
  return ok;
}

}  // namespace platform
