#include "mtp_checksum.h"

#include <fcntl.h>
#include <platform/filenames.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "protocol/signature.h"

namespace stdk42xx {

namespace {

// Opens for reading with exclusive sharing: fails while another program holds
// a lock on the file, and for anything but a regular file (a pipe without a
// writer cannot hold the caller up).
int OpenExclusive(const std::string& path) {
  int fd = open(platform::FindOrKeepPath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

int32_t CodeFileChecksum(int32_t type, const std::string& path, int32_t words, std::string& text) {
  if (type != 16) return -1;
  const int fd = OpenExclusive(path);
  if (fd < 0) return -2;
  protocol::Signature signature;
  // Only the head that can enter the signature is read; the count stays
  // within the ROM's words or the largest image's.
  const int64_t most = protocol::FileSignatureWords(words, 2);
  int32_t count = 0;
  unsigned char buffer[8192];
  size_t held = 0;  // an odd byte carried to the next read
  while (count < most) {
    const ssize_t got = read(fd, buffer + held, sizeof buffer - held);
    if (got < 0) {
      close(fd);
      return -2;
    }
    if (got == 0) break;
    const size_t total = held + static_cast<size_t>(got);
    size_t i = 0;
    for (; i + 1 < total && count < most; i += 2) {
      signature.Feed((buffer[i] << 8 | buffer[i + 1]) ^ 0xFFFFu);
      ++count;
    }
    held = total - i;
    if (held != 0) buffer[0] = buffer[i];
  }
  close(fd);
  signature.Pad(count, words, 0xFFFF);
  char hex[8];
  std::snprintf(hex, sizeof hex, "%04X", signature.Value());
  text = hex;
  return count;
}

}  // namespace stdk42xx
