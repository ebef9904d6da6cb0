#include "installer.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "dcs/dcs.h"
#include "platform/owner_lock.h"
#include "platform/tempfiles.h"
#include "setup/termination.h"
#include "test_hold.h"

namespace rvsetup {
namespace {

std::vector<std::string> Components(const std::string& name) {
  std::vector<std::string> parts;
  size_t begin = 0;
  for (;;) {
    const size_t cut = name.find('\\', begin);
    parts.push_back(name.substr(begin, cut == std::string::npos ? cut : cut - begin));
    if (cut == std::string::npos) return parts;
    begin = cut + 1;
  }
}

bool SafeComponent(const std::string& c) {
  return !c.empty() && c != "." && c != ".." && c.find('/') == std::string::npos;
}

// Programs and scripts are executable; the archive's attributes say nothing of it.
mode_t ModeOf(int descriptor) {
  char head[4] = {};
  const ssize_t n = pread(descriptor, head, sizeof head, 0);
  const bool elf = n == 4 && std::memcmp(head, "\177ELF", 4) == 0;
  const bool script = n >= 2 && head[0] == '#' && head[1] == '!';
  return elf || script ? 0755 : 0644;
}

struct Listed {
  uint32_t index;
  std::string name;
};

int CollectEntry(const DcsEntryInfo* entry, intptr_t user, int) {
  reinterpret_cast<std::vector<Listed>*>(user)->push_back({entry->index, entry->longName});
  return 1;
}

// Stops an extraction once a termination was requested; no volume follows.
int AbortWhenInterrupted(int code, void*, intptr_t) {
  if (code != DCS_CB_PROGRESS) return 0;
  return setup::TerminationRequested() ? DCS_CB_ABORT : 1;
}

// A hidden name beside `path` of the form ".<name>.XXXXXX", for mkostemp.
std::string HiddenBeside(const std::string& path) {
  const size_t slash = path.rfind('/');
  return path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".XXXXXX";
}

// Removes the hidden files that an earlier, killed install of `names` left
// in `folder`; only the install that owns the target may call it.
void RemoveLeftovers(const std::string& folder, const std::set<std::string>& names) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* e = readdir(dir)) {
    for (const std::string& name : names) {
      if (platform::IsTempName(e->d_name, "." + name + ".")) unlinkat(dirfd(dir), e->d_name, 0);
    }
  }
  closedir(dir);
}

// One file of the install: extracted into `partial` beside `path`; the file
// it replaces is kept under `kept` until every file is in place.
struct Staged {
  std::string partial, path, name, kept;
};

// The files and folders of one install. Until Commit succeeds, destroying it
// deletes the partial files, puts every replaced file back and removes the
// folders it made, so a failed or interrupted install leaves the previous
// installation whole; then it lets the target go.
class Installation {
 public:
  ~Installation() {
    if (!committed_) RollBack();
    if (targetLock_ >= 0) close(targetLock_);
  }

  // Makes the target folder and locks it for the whole install, so that one
  // install of a folder runs at a time: false, with `error`, when another
  // install holds it. While the lock is held, the hidden files beside the
  // installed ones are a killed install's (the lock died with it).
  bool OwnTarget(const std::string& target, std::string& error) {
    if (!MakeFolders(target)) return error = target + ": " + std::strerror(errno), false;
    targetLock_ = open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (targetLock_ < 0) return error = target + ": " + std::strerror(errno), false;
    switch (platform::LockAsOwner(targetLock_, AT_FDCWD, target.c_str(), false, true)) {
      case platform::OwnerLock::kHeld:
        ownsTarget_ = true;
        return true;
      case platform::OwnerLock::kUnsupported:
        return true;  // no locks there: installs as before, leaving hidden files alone
      default:
        made_.clear();  // the folders are the other install's now
        return error = target + " is being installed by another setup", false;
    }
  }
  bool OwnsTarget() const { return ownsTarget_; }

  bool MakeFolders(const std::string& path) {
    for (size_t at = 1; at <= path.size(); ++at) {
      if (at < path.size() && path[at] != '/') continue;
      const std::string prefix = path.substr(0, at);
      if (mkdir(prefix.c_str(), 0755) == 0) {
        made_.push_back(prefix);
      } else if (errno != EEXIST) {
        return false;
      }
    }
    return true;
  }

  // Extracts `entry` into a fresh file beside `path`, created exclusively so
  // that no planted file or link of that name is ever opened or followed.
  bool Stage(DcsArchive* archive, const Listed& entry, const std::string& path,
             std::string& error) {
    std::string partial = HiddenBeside(path);
    const int descriptor = mkostemp(partial.data(), O_CLOEXEC);
    if (descriptor < 0) return error = path + ": " + std::strerror(errno), false;
    staged_.push_back({partial, path, entry.name, ""});
    DcsStream* out = DcsAdoptStream(descriptor, "w+b");
    bool ok = out && DcsExtractEntry(archive, entry.index, nullptr, out);
    const int code = DcsGetLastError();
    ok = ok && fchmod(descriptor, ModeOf(descriptor)) == 0;
    ok = out && DcsCloseStream(out) && ok;
    if (!ok) error = entry.name + ": archive error " + std::to_string(code);
    return ok;
  }

  // Puts every staged file in its place, keeping what each replaces; the
  // kept files go only when all are in place.
  bool Commit(std::string& error) {
    for (placed_ = 0; placed_ < staged_.size(); ++placed_) {
      if (placed_ == 1) HoldForTest("rename");
      if (setup::TerminationRequested()) return false;
      Staged& s = staged_[placed_];
      if (!Keep(s) || rename(s.partial.c_str(), s.path.c_str()) != 0)
        return error = s.path + ": " + std::strerror(errno), false;
    }
    committed_ = true;
    for (const Staged& s : staged_) {
      if (!s.kept.empty()) unlink(s.kept.c_str());
    }
    return true;
  }

  const std::vector<Staged>& Files() const { return staged_; }

 private:
  // Moves the file at the staged file's place aside; a folder there stays
  // and makes the replacing fail.
  static bool Keep(Staged& s) {
    struct stat info;
    if (lstat(s.path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return true;
    std::string kept = HiddenBeside(s.path);
    const int descriptor = mkostemp(kept.data(), O_CLOEXEC);
    if (descriptor < 0) return false;
    close(descriptor);
    if (rename(s.path.c_str(), kept.c_str()) != 0) {
      const int failure = errno;
      unlink(kept.c_str());
      errno = failure;
      return false;
    }
    s.kept = kept;
    return true;
  }

  void RollBack() {
    for (size_t i = staged_.size(); i-- > 0;) {
      const Staged& s = staged_[i];
      unlink((i < placed_ ? s.path : s.partial).c_str());
      if (!s.kept.empty()) rename(s.kept.c_str(), s.path.c_str());
    }
    for (auto folder = made_.rbegin(); folder != made_.rend(); ++folder) rmdir(folder->c_str());
  }

  std::vector<std::string> made_;  // folders created, outermost first
  std::vector<Staged> staged_;
  size_t placed_ = 0;
  bool committed_ = false;
  int targetLock_ = -1;
  bool ownsTarget_ = false;
};

}  // namespace

std::string InstallFolder() {
  if (const char* dir = std::getenv("TAVIX_INSTALL_DIR"); dir && *dir) return dir;
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.local/opt/tavix";
}

bool InstallArchive(const std::string& archivePath, const std::string& target,
                    const std::function<void(const std::string&)>& report, std::string& error) {
  DcsArchive* archive = DcsOpenArchive(archivePath.c_str(), DCS_MODE_READ_ONLY | DCS_MODE_NO_CREATE,
                                       &AbortWhenInterrupted);
  if (!archive) return error = "archive error " + std::to_string(DcsGetLastError()), false;
  std::vector<Listed> entries;
  DcsEnumFiles(archive, "*", &CollectEntry, reinterpret_cast<intptr_t>(&entries));
  // The place of every file first: a refused name installs nothing.
  std::vector<std::pair<Listed, std::string>> planned;
  std::map<std::string, std::set<std::string>> folders;  // folder -> names in it
  for (const Listed& entry : entries) {
    const std::vector<std::string> parts = Components(entry.name);
    if (parts.size() < 2) continue;
    std::string path = target;
    for (const std::string& part : parts) {
      if (!SafeComponent(part)) {
        DcsCloseArchive(archive);
        return error = "refused name " + entry.name, false;
      }
      path += "/" + part;
    }
    folders[path.substr(0, path.rfind('/'))].insert(parts.back());
    planned.emplace_back(entry, path);
  }
  // Every file is extracted and checked beside its place first; the
  // installed ones are replaced only when all of them are.
  Installation installation;
  bool ok = installation.OwnTarget(target, error);
  for (const auto& [folder, names] : folders) {
    if (!ok) break;
    if (!(ok = installation.MakeFolders(folder))) {
      error = folder + ": " + std::strerror(errno);
    } else if (installation.OwnsTarget()) {
      RemoveLeftovers(folder, names);
    }
  }
  for (size_t i = 0; ok && i < planned.size(); ++i) {
    if (i == 1) HoldForTest("stage");
    ok = !setup::TerminationRequested() &&
         installation.Stage(archive, planned[i].first, planned[i].second, error);
  }
  DcsCloseArchive(archive);
  ok = ok && installation.Commit(error);
  if (setup::TerminationRequested() && !ok) error = "interrupted";
  if (ok) {
    for (const Staged& s : installation.Files()) report(s.name);
  }
  return ok;
}

}  // namespace rvsetup
