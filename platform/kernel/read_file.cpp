#include "platform/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstdint>

namespace platform {

namespace {

// Reads a regular file up to `limit` bytes; `whole` refuses a longer one
// (EFBIG), otherwise the rest is left unread and `cut` set.
bool ReadBounded(const std::string& path, std::string& content, int* error, size_t limit,
                 bool whole, bool& cut) {
  content.clear();
  cut = false;
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
  if (ok && whole && static_cast<uint64_t>(st.st_size) > limit) {
    ok = false;
    failure = EFBIG;
  }
  if (ok) content.reserve(std::min(static_cast<size_t>(st.st_size), limit));
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
    const size_t room = limit - content.size();
    if (static_cast<size_t>(n) > room) {  // longer than the bound (or grew while read)
      if (whole) {
        failure = EFBIG;
        ok = false;
      } else {
        content.append(buffer, room);
        cut = true;
      }
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

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& content, int* error, size_t limit) {
  bool cut = false;
  return ReadBounded(path, content, error, limit, true, cut);
}

bool ReadFileHead(const std::string& path, std::string& content, size_t limit, bool& cut,
                  int* error) {
  return ReadBounded(path, content, error, limit, false, cut);
}

}  // namespace platform
