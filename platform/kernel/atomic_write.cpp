#include "platform/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/filenames.h"

namespace platform {

bool WriteFileAtomically(const std::string& path, const std::string& content, int* error) {
  int failure = 0;
  const auto fail = [&failure] {
    if (failure == 0) failure = errno;
    return false;
  };
  std::string folder = FolderOf(path);
  std::string temp =
      (folder.empty() ? std::string("./") : folder) + "." + FileName(path) + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) {
    fail();
    if (error != nullptr) *error = failure;
    return false;
  }
  // Keep the permissions of the file being replaced.
  struct stat st;
  if (stat(path.c_str(), &st) == 0)
    fchmod(fd, st.st_mode & 07777);
  else
    fchmod(fd, 0644);
  const char* p = content.data();
  size_t left = content.size();
  bool ok = true;
  while (left > 0) {
    ssize_t n = write(fd, p, left);
    if (n < 0) {
      ok = fail();
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (ok && fsync(fd) != 0) ok = fail();
  if (close(fd) != 0 && ok) ok = fail();
  if (ok && rename(temp.c_str(), path.c_str()) != 0) ok = fail();
  if (!ok) {
    unlink(temp.c_str());
    if (error != nullptr) *error = failure;
  }
  return ok;
}

}  // namespace platform
