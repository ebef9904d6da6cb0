#include "installer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "dcs/dcs.h"

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

bool MakeFolders(const std::string& path) {
  for (size_t at = 1; at <= path.size(); ++at) {
    if (at < path.size() && path[at] != '/') continue;
    const std::string prefix = path.substr(0, at);
    if (mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  return true;
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

// A file extracted beside its place, waiting to replace it.
struct Staged {
  std::string partial, path, name;
};

// Extracts entry `index` into a fresh file beside `path`, created exclusively
// so that no planted file or link of that name is ever opened or followed.
bool Stage(DcsArchive* archive, const Listed& entry, const std::string& path,
           std::vector<Staged>& staged, std::string& error) {
  const size_t slash = path.rfind('/');
  std::string partial = path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".XXXXXX";
  const int descriptor = mkostemp(partial.data(), O_CLOEXEC);
  if (descriptor < 0) return error = path + ": " + std::strerror(errno), false;
  staged.push_back({partial, path, entry.name});
  DcsStream* out = DcsAdoptStream(descriptor, "w+b");
  bool ok = out && DcsExtractEntry(archive, entry.index, nullptr, out);
  const int code = DcsGetLastError();
  ok = ok && fchmod(descriptor, ModeOf(descriptor)) == 0;
  ok = out && DcsCloseStream(out) && ok;
  if (!ok) error = entry.name + ": archive error " + std::to_string(code);
  return ok;
}

}  // namespace

std::string InstallFolder() {
  if (const char* dir = std::getenv("TAVIX_INSTALL_DIR"); dir && *dir) return dir;
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.local/opt/tavix";
}

bool InstallArchive(const std::string& archivePath, const std::string& target,
                    const std::function<void(const std::string&)>& report, std::string& error) {
  DcsArchive* archive =
      DcsOpenArchive(archivePath.c_str(), DCS_MODE_READ_ONLY | DCS_MODE_NO_CREATE, nullptr);
  if (!archive) return error = "archive error " + std::to_string(DcsGetLastError()), false;
  std::vector<Listed> entries;
  DcsEnumFiles(archive, "*", &CollectEntry, reinterpret_cast<intptr_t>(&entries));
  // Every file is extracted and checked first; the installed ones are
  // replaced only when all of them are, so a failure leaves them whole.
  std::vector<Staged> staged;
  std::set<std::string> made;  // folders already there
  bool ok = true;
  for (const Listed& entry : entries) {
    const std::vector<std::string> parts = Components(entry.name);
    if (parts.size() < 2) continue;
    std::string path = target;
    for (const std::string& part : parts) {
      if (!SafeComponent(part)) {
        error = "refused name " + entry.name;
        ok = false;
        break;
      }
      path += "/" + part;
    }
    if (!ok) break;
    const std::string folder = path.substr(0, path.rfind('/'));
    if (!made.count(folder) && !MakeFolders(folder)) {
      error = path + ": " + std::strerror(errno);
      ok = false;
      break;
    }
    made.insert(folder);
    if (!(ok = Stage(archive, entry, path, staged, error))) break;
  }
  DcsCloseArchive(archive);
  size_t placed = 0;
  for (; ok && placed < staged.size(); ++placed) {
    const Staged& s = staged[placed];
    if (rename(s.partial.c_str(), s.path.c_str()) != 0) {
      error = s.path + ": " + std::strerror(errno);
      ok = false;
      break;
    }
    report(s.name);
  }
  for (size_t i = placed; i < staged.size(); ++i) unlink(staged[i].partial.c_str());
  return ok;
}

}  // namespace rvsetup
