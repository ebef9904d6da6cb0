#include "platform/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace platform {

bool ReadWholeFile(const std::string& path, std::string& content, int* error, size_t limit) {
  content.clear();
  int failure = 0;
  // Non-blocking, so that opening a pipe without a writer cannot wait.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (error != nullptr) *error = errno;
    return false;
  }
  struct stat st {};
  bool ok = fstat(fd, &st) == 0;
  if (!ok) failure = errno;
  if (ok && !S_ISREG(st.st_mode)) {
    ok = false;
    failure = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
  }
  if (ok && static_cast<uint64_t>(st.st_size) > limit) {
    ok = false;
    failure = EFBIG;
  }
  if (ok) content.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  while (ok) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      failure = errno;
      ok = false;
      break;
    }
    if (content.size() + static_cast<size_t>(n) > limit) {  // it grew while being read
      failure = EFBIG;
      ok = false;
      break;
    }
    content.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  if (!ok) {
    content.clear();
    if (error != nullptr) *error = failure;
  }
  return ok;
}

}  // namespace platform
