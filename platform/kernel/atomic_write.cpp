#include "platform/atomic_write.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/filenames.h"
#include "platform/owner_lock.h"
#include "platform/tempfiles.h"

namespace platform {
namespace {

// A save of "<folder>/<name>" writes ".<name>.XXXXXX" in the same folder.
std::string FolderPart(const std::string& path) {
  const std::string folder = FolderOf(path);
  return folder.empty() ? std::string("./") : folder;
}

std::string TempPrefix(const std::string& path) {
  return "." + FileName(path) + ".";
}

// Every save owns its temporary from creation until the rename: a
// temporary of `path` that is an orphan is what a killed save left, and goes.
void RemoveStaleTemporaries(const std::string& path) {
  DIR* folder = opendir(FolderPart(path).c_str());
  if (folder == nullptr) return;
  const std::string prefix = TempPrefix(path);
  while (const dirent* entry = readdir(folder)) {
    if (!IsTempName(entry->d_name, prefix)) continue;
    const int fd = ClaimOrphan(dirfd(folder), entry->d_name, O_RDONLY);
    if (fd < 0) continue;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) unlinkat(dirfd(folder), entry->d_name, 0);
    close(fd);
  }
  closedir(folder);
}

}  // namespace

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
  const std::string pattern = FolderPart(path) + TempPrefix(path) + "XXXXXX";
  // Another save's clean-up may take a temporary in the moment before its lock;
  // one that lost its name is made anew. Where the file system has no locks,
  // no clean-up can take the lock either, and the file is kept unlocked.
  for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
    temp_ = pattern;
    fd_ = mkostemp(temp_.data(), O_CLOEXEC);
    if (fd_ < 0) {
      temp_.clear();
      return Fail();
    }
    if (LockAsOwner(fd_, AT_FDCWD, temp_.c_str(), true) != OwnerLock::kLost) break;
    close(fd_);
    fd_ = -1;
  }
  if (fd_ < 0) {
    temp_.clear();
    errno = EAGAIN;
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
  // The lock stays held through the rename by a second descriptor, while the
  // close of the first still reports a failed write-back.
  const int lock = dup(fd_);
  if (close(fd_) != 0 && ok) ok = Fail();
  fd_ = -1;
  if (ok && rename(temp_.c_str(), path_.c_str()) != 0) ok = Fail();
  if (lock >= 0) close(lock);
  if (ok) {
    temp_.clear();
    RemoveStaleTemporaries(path_);
  }
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
