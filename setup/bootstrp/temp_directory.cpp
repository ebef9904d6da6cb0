#include "temp_directory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "boot_messages.h"
#include "platform/owner_lock.h"
#include "platform/tempfiles.h"

namespace vanstall {
namespace {

constexpr int kFolders = 10;
constexpr time_t kStaleSeconds = 3600;
constexpr const char* kFallbackPrefix = "RVSETUP.";

std::string InRoot(const std::string& root, const std::string& name) {
  return root + (root.back() == '/' ? "" : "/") + name;
}

bool Writable(const std::string& root) {
  const std::string probe = InRoot(root, "~vxqtest.tmp");
  const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  const char bytes[16] = {};
  const bool ok = write(fd, bytes, sizeof bytes) == static_cast<ssize_t>(sizeof bytes);
  close(fd);
  unlink(probe.c_str());
  return ok;
}

std::string FolderName(const std::string& root, int n) {
  return InRoot(root, "RVSETUP" + std::to_string(n) + ".TMP");
}

// Deletes the files (not the folders) in the folder open as `folder`.
void EmptyFolder(int folder) {
  const int listed = dup(folder);
  DIR* dir = listed >= 0 ? fdopendir(listed) : nullptr;
  if (!dir) {
    if (listed >= 0) close(listed);
    return;
  }
  while (const dirent* entry = readdir(dir)) {
    struct stat info;
    if (fstatat(folder, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(info.st_mode)) {
      unlinkat(folder, entry->d_name, 0);
    }
  }
  closedir(dir);
}

// A folder of ours that no running loader holds (every loader locks its
// folder from its making to its removal): emptied when old, removed when
// empty. Never through a link nor into a folder of another user.
void CleanLeftover(const std::string& path, time_t now) {
  const int folder = platform::ClaimOrphan(AT_FDCWD, path.c_str(), O_RDONLY | O_DIRECTORY);
  if (folder < 0) return;
  struct stat info;
  if (fstat(folder, &info) == 0 && info.st_uid == geteuid()) {
    fchmod(folder, 0700);
    if (now - info.st_mtime >= kStaleSeconds) EmptyFolder(folder);
    rmdir(path.c_str());
  }
  close(folder);
}

// The fallback folders RVSETUP.XXXXXX under `root`.
std::vector<std::string> FallbackFolders(const std::string& root) {
  std::vector<std::string> found;
  if (DIR* dir = opendir(root.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      if (platform::IsTempName(entry->d_name, kFallbackPrefix))
        found.push_back(InRoot(root, entry->d_name));
    }
    closedir(dir);
  }
  return found;
}

// Locks the folder just made at `path` for this loader. False when another
// loader took or removed it in the moment before.
bool Hold(const std::string& path, int& lock) {
  lock = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (lock < 0) return false;
  const platform::OwnerLock held = platform::LockAsOwner(lock, AT_FDCWD, path.c_str(), false);
  if (held == platform::OwnerLock::kHeld || held == platform::OwnerLock::kUnsupported) return true;
  close(lock);
  lock = -1;
  return false;
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

std::string CreateTempDirectory(int& lock) {
  const std::string root = TemporaryRoot();
  const time_t now = std::time(nullptr);
  for (int n = 0; n < kFolders; ++n) CleanLeftover(FolderName(root, n), now);
  for (const std::string& folder : FallbackFolders(root)) CleanLeftover(folder, now);
  std::string tried;
  int failure = EEXIST;
  for (int n = 0; n < kFolders && failure == EEXIST; ++n) {
    tried = FolderName(root, n);
    if (mkdir(tried.c_str(), 0700) != 0) {
      failure = errno;
    } else if (Hold(tried, lock)) {
      return tried;
    }
  }
  // Every name taken (by running or killed setups, or by another user's
  // folders): a fresh folder of a unique name under the same root.
  for (int attempt = 0; attempt < kFolders && failure == EEXIST; ++attempt) {
    tried = InRoot(root, std::string(kFallbackPrefix) + "XXXXXX");
    if (!mkdtemp(tried.data())) break;
    if (Hold(tried, lock)) return tried;
  }
  BootError(FormatText("ERROR B111: Cannot create temporary directory:\n%s", {tried}));
  return "";
}

}  // namespace vanstall
