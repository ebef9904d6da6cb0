#include "platform/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

bool ReadWholeFile(const std::string& path, std::string& content) {
  content.clear();
  // Non-blocking, so that opening a pipe without a writer cannot wait.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (ok) content.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  while (ok) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    content.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  if (!ok) content.clear();
  return ok;
}

}  // namespace platform
