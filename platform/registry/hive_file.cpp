#include "hive_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>

#include "hive_text.h"
#include "platform/atomic_write.h"
#include "platform/read_file.h"

namespace platform::hive {
namespace {

struct stat StatOf(const std::string& path, bool& exists) {
  struct stat st {};
  exists = stat(path.c_str(), &st) == 0;
  return st;
}

// Creates `folder` and its missing parents with mode 0700.
bool MakeFolder(const std::string& folder) {
  for (size_t pos = 1; pos <= folder.size(); ++pos) {
    if (pos < folder.size() && folder[pos] != '/') continue;
    std::string part = folder.substr(0, pos);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Each failure of a hive is said once per process on standard error: the
// registry has no window.
void ReportOnce(const std::string& path, const char* kind, const std::string& message) {
  static std::mutex mutex;
  static std::set<std::string> reported;
  std::lock_guard<std::mutex> lock(mutex);
  if (!reported.insert(path + '\n' + kind).second) return;
  std::fprintf(stderr, "Tavix registry: %s: %s\n", path.c_str(), message.c_str());
}

// The largest hive read; a bigger file is one that cannot be read.
constexpr size_t kHiveLimit = size_t{64} << 20;

// The lock file's descriptor, closed (the lock released) on every way out.
struct LockHolder {
  int fd;
  ~LockHolder() {
    if (fd >= 0) close(fd);
  }
};

}  // namespace

bool HiveFile::FileId::operator==(const FileId& o) const {
  if (exists != o.exists) return false;
  return !exists ||
         (device == o.device && inode == o.inode && size == o.size &&
          modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec);
}

void HiveFile::UseFolder(const std::string& folder) {
  if (folder == folder_ && !path_.empty()) return;
  folder_ = folder;
  path_ = folder + "/" + rootName_ + ".hive";
  root_ = Key{};
  known_ = false;
  damaged_ = false;
  unreadable_ = 0;
}

Key& HiveFile::Current(const std::string& folder) {
  UseFolder(folder);
  Refresh();
  return root_;
}

void HiveFile::Refresh() {
  FileId now;
  struct stat st = StatOf(path_, now.exists);
  if (now.exists) {
    now.device = st.st_dev;
    now.inode = st.st_ino;
    now.size = st.st_size;
    now.modified = st.st_mtim;
  }
  if (known_ && now == id_) return;
  Load(now);
}

// The identity comes from before the read: a file replaced in between is
// read again at the next refresh.
void HiveFile::Load(const FileId& seen) {
  root_ = Key{};
  id_ = seen;
  known_ = true;
  damaged_ = false;
  unreadable_ = 0;
  if (!seen.exists) return;
  std::string text;
  int error = 0;
  if (!ReadWholeFile(path_, text, &error, kHiveLimit)) {
    if (error == ENOENT) return;  // removed since the stat
    unreadable_ = error;
    ReportOnce(path_, "read",
               std::string("cannot be read (") + std::strerror(error) +
                   "); its settings are not used and nothing is saved into it");
    return;
  }
  ParsedHive parsed = ParseHive(text);
  root_ = std::move(parsed.root);
  if (parsed.badLine) {
    damaged_ = true;
    badPath_ = FreeBadName();
    ReportOnce(path_, "damage",
               "line " + std::to_string(parsed.badLine) +
                   " does not parse; the lines that parse are used, and before the next save "
                   "into it the file is kept as " +
                   badPath_);
  }
}

std::string HiveFile::FreeBadName() const {
  std::string name = path_ + ".bad";
  for (int n = 1;; ++n) {
    bool exists;
    StatOf(name, exists);
    if (!exists) return name;
    name = path_ + ".bad." + std::to_string(n);
  }
}

// Keeps the damaged file under its ".bad" name (a second link, so that a
// failed save still leaves it in place too).
bool HiveFile::KeepDamagedFile() {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (link(path_.c_str(), badPath_.c_str()) == 0) return true;
    if (errno != EEXIST) return false;
    badPath_ = FreeBadName();
  }
  return false;
}

int HiveFile::Save() {
  bool kept = damaged_;
  if (kept && !KeepDamagedFile()) return errno != 0 ? errno : EIO;
  int error = 0;
  if (!WriteFileAtomically(path_, FormatHive(root_, rootName_), &error)) {
    if (kept) unlink(badPath_.c_str());
    return error != 0 ? error : EIO;
  }
  damaged_ = false;
  struct stat st = StatOf(path_, id_.exists);
  id_ = FileId{id_.exists, st.st_dev, st.st_ino, st.st_size, st.st_mtim};
  known_ = id_.exists;
  return 0;
}

int32_t HiveFile::SaveFailed(int error) const {
  ReportOnce(path_, "save",
             std::string("settings cannot be saved (") + std::strerror(error) +
                 "); the file stays as it was");
  return 1016;
}

int32_t HiveFile::Change(const std::string& folder, const ChangeFunction& change) {
  UseFolder(folder);
  if (!MakeFolder(folder_)) return SaveFailed(errno);
  const LockHolder lock{open((path_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)};
  if (lock.fd < 0) return SaveFailed(errno);
  while (flock(lock.fd, LOCK_EX) != 0 && errno == EINTR) {
  }
  // A file's identity can repeat when another writer's new file reuses a
  // freed inode within one clock tick, so a change always reads the file it
  // changes.
  known_ = false;
  Refresh();
  if (unreadable_ != 0) return SaveFailed(unreadable_);
  bool changed = false;
  int32_t status;
  try {
    status = change(root_, changed);
  } catch (...) {
    known_ = false;  // the tree may hold part of the change
    throw;
  }
  if (changed) {
    if (const int error = Save()) {
      known_ = false;  // the tree holds a change the file does not
      Refresh();
      status = SaveFailed(error);
    }
  }
  return status;
}

}  // namespace platform::hive
