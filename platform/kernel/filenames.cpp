#include "platform/filenames.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <mutex>

namespace platform {
namespace {

std::mutex& ProgramPathMutex() {
  static std::mutex m;
  return m;
}

std::string& ProgramPathOverride() {
  static std::string p;
  return p;
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// The entry of `folder` whose name equals `name` without case, or "".
std::string FindEntryNoCase(const std::string& folder, const std::string& name) {
  DIR* d = opendir(folder.empty() ? "." : folder.c_str());
  if (!d) return "";
  std::string found;
  while (dirent* e = readdir(d)) {
    if (EqualsNoCase(e->d_name, name)) {
      found = e->d_name;
      break;
    }
  }
  closedir(d);
  return found;
}

}  // namespace

bool EqualsNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string ResolvePathNoCase(const std::string& path) {
  if (path.empty()) return "";
  if (Exists(path)) return path;
  std::string resolved;
  size_t pos = 0;
  if (path[0] == '/') {
    resolved = "/";
    pos = 1;
  }
  while (pos <= path.size()) {
    size_t slash = path.find('/', pos);
    std::string part = path.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
    pos = slash == std::string::npos ? path.size() + 1 : slash + 1;
    if (part.empty()) continue;
    std::string candidate = resolved + part;
    if (part != "." && part != ".." && !Exists(candidate)) {
      std::string entry = FindEntryNoCase(resolved, part);
      if (entry.empty()) return "";
      candidate = resolved + entry;
    }
    resolved = candidate;
    if (slash != std::string::npos) resolved += '/';
  }
  return Exists(resolved) ? resolved : "";
}

std::string FindOrKeepPath(const std::string& path) {
  std::string found = ResolvePathNoCase(path);
  return found.empty() ? path : found;
}

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  size_t dot = path.rfind('.');
  if (dot == std::string::npos) return path;
  if (slash != std::string::npos && dot < slash) return path;
  return path.substr(0, dot);
}

std::string FileName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

std::string ProgramPath() {
  {
    std::lock_guard<std::mutex> lock(ProgramPathMutex());
    if (!ProgramPathOverride().empty()) return ProgramPathOverride();
  }
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "./";
  buf[n] = '\0';
  return FolderOf(buf);
}

void SetProgramPath(const std::string& folder) {
  std::lock_guard<std::mutex> lock(ProgramPathMutex());
  ProgramPathOverride() = folder;
  if (!folder.empty() && folder.back() != '/') ProgramPathOverride() += '/';
}

}  // namespace platform
