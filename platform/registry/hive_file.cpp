#include "hive_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <set>

#include "hive_text.h"
#include "platform/atomic_write.h"

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

// A damaged hive file is reported once per process, on standard error: the
// registry has no window.
void ReportDamage(const std::string& path, int line, const std::string& badPath) {
  static std::mutex mutex;
  static std::set<std::string> reported;
  std::lock_guard<std::mutex> lock(mutex);
  if (!reported.insert(path).second) return;
  std::fprintf(stderr,
               "Tavix registry: %s: line %d does not parse; the lines that parse are used, and "
               "before the next save into it the file is kept as %s\n",
               path.c_str(), line, badPath.c_str());
}

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
  Load();
}

void HiveFile::Load() {
  root_ = Key{};
  id_ = FileId{};
  known_ = true;
  damaged_ = false;
  int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st {};
  std::string text;
  if (fstat(fd, &st) == 0) {
    id_ = FileId{true, st.st_dev, st.st_ino, st.st_size, st.st_mtim};
    char buffer[8192];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  ParsedHive parsed = ParseHive(text);
  root_ = std::move(parsed.root);
  if (parsed.badLine) {
    damaged_ = true;
    badPath_ = FreeBadName();
    ReportDamage(path_, parsed.badLine, badPath_);
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

bool HiveFile::Save() {
  bool kept = damaged_;
  if (kept && !KeepDamagedFile()) return false;
  if (!WriteFileAtomically(path_, FormatHive(root_, rootName_))) {
    if (kept) unlink(badPath_.c_str());
    return false;
  }
  damaged_ = false;
  struct stat st = StatOf(path_, id_.exists);
  id_ = FileId{id_.exists, st.st_dev, st.st_ino, st.st_size, st.st_mtim};
  known_ = id_.exists;
  return true;
}

int32_t HiveFile::Change(const std::string& folder, const ChangeFunction& change) {
  constexpr int32_t kWriteFailed = 1016;
  UseFolder(folder);
  if (!MakeFolder(folder_)) return kWriteFailed;
  int lock = open((path_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lock < 0) return kWriteFailed;
  while (flock(lock, LOCK_EX) != 0 && errno == EINTR) {
  }
  // A file's identity can repeat when another writer's new file reuses a
  // freed inode within one clock tick, so a change always reads the file it
  // changes.
  known_ = false;
  Refresh();
  bool changed = false;
  int32_t status = change(root_, changed);
  if (changed && !Save()) {
    known_ = false;  // the tree holds a change the file does not
    Refresh();
    status = kWriteFailed;
  }
  close(lock);  // releases the lock
  return status;
}

}  // namespace platform::hive
