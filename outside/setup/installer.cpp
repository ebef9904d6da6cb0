#include "installer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
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
mode_t ModeOf(const std::string& path) {
  char head[4] = {};
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    const size_t n = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    if ((n == 4 && std::memcmp(head,
                               "\x7f"
                               "ELF",
                               4) == 0) ||
        (n >= 2 && head[0] == '#' && head[1] == '!'))
      return 0755;
  }
  return 0644;
}

int CollectName(const DcsEntryInfo* entry, intptr_t user, int) {
  reinterpret_cast<std::vector<std::string>*>(user)->push_back(entry->longName);
  return 1;
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
  std::vector<std::string> names;
  DcsEnumFiles(archive, "*", &CollectName, reinterpret_cast<intptr_t>(&names));
  bool ok = true;
  for (const std::string& name : names) {
    const std::vector<std::string> parts = Components(name);
    if (parts.size() < 2) continue;
    std::string path = target;
    for (const std::string& part : parts) {
      if (!SafeComponent(part)) {
        error = "refused name " + name;
        ok = false;
        break;
      }
      path += "/" + part;
    }
    if (!ok) break;
    // Written beside the file and renamed over it, so a file in use is replaced whole.
    const std::string partial = path + ".partial";
    if (!MakeFolders(path.substr(0, path.rfind('/')))) {
      error = path + ": " + std::strerror(errno);
      ok = false;
      break;
    }
    DcsStream* out = DcsOpenStream(partial.c_str(), "w+b");
    const bool extracted = out && DcsExtractFile(archive, name.c_str(), nullptr, out);
    const int code = DcsGetLastError();
    const bool closed = out && DcsCloseStream(out);
    if (!extracted || !closed || chmod(partial.c_str(), ModeOf(partial)) != 0 ||
        rename(partial.c_str(), path.c_str()) != 0) {
      unlink(partial.c_str());
      error = name + ": archive error " + std::to_string(code);
      ok = false;
      break;
    }
    report(name);
  }
  DcsCloseArchive(archive);
  return ok;
}

}  // namespace rvsetup
