#include "temp_directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "boot_messages.h"

namespace vanstall {
namespace {

constexpr int kFolders = 10;
constexpr time_t kStaleSeconds = 3600;

bool Writable(const std::string& root) {
  const std::string probe = root + (root.back() == '/' ? "" : "/") + "~vxqtest.tmp";
  const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  const char bytes[16] = {};
  const bool ok = write(fd, bytes, sizeof bytes) == static_cast<ssize_t>(sizeof bytes);
  close(fd);
  unlink(probe.c_str());
  return ok;
}

std::string FolderName(const std::string& root, int n) {
  return root + (root.back() == '/' ? "" : "/") + "RVSETUP" + std::to_string(n) + ".TMP";
}

// Deletes the files (not the folders) in a folder of ours, never following
// links nor entering a folder of another user.
void EmptyFolder(const std::string& path) {
  const int dirfd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dirfd < 0) return;
  struct stat own;
  DIR* dir = fstat(dirfd, &own) == 0 && own.st_uid == geteuid() ? fdopendir(dirfd) : nullptr;
  if (!dir) {
    close(dirfd);
    return;
  }
  while (const dirent* entry = readdir(dir)) {
    struct stat info;
    if (fstatat(dirfd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(info.st_mode)) {
      unlinkat(dirfd, entry->d_name, 0);
    }
  }
  closedir(dir);
}

void CleanLeftover(const std::string& path, time_t now) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid()) return;
  chmod(path.c_str(), 0700);
  if (now - info.st_mtime >= kStaleSeconds) EmptyFolder(path);
  rmdir(path.c_str());
}

}  // namespace

std::string TemporaryRoot() {
  for (const char* name : {"TEMP", "TMP"}) {
    const char* value = std::getenv(name);
    if (value && *value) return value;
  }
  const char* tmpdir = std::getenv("TMPDIR");
  if (tmpdir && *tmpdir && Writable(tmpdir)) return tmpdir;
  return "/tmp";
}

std::string CreateTempDirectory() {
  const std::string root = TemporaryRoot();
  const time_t now = std::time(nullptr);
  for (int n = 0; n < kFolders; ++n) CleanLeftover(FolderName(root, n), now);
  std::string tried;
  for (int n = 0; n < kFolders; ++n) {
    tried = FolderName(root, n);
    if (mkdir(tried.c_str(), 0700) == 0) return tried;
    if (errno != EEXIST) break;
  }
  // Every name taken (by running or killed setups, or by another user's
  // folders): a fresh folder of a unique name under the same root.
  if (errno == EEXIST) {
    tried = root + (root.back() == '/' ? "" : "/") + "RVSETUP.XXXXXX";
    if (mkdtemp(tried.data())) return tried;
  }
  BootError(FormatText("ERROR B111: Cannot create temporary directory:\n%s", {tried}));
  return "";
}

}  // namespace vanstall
