#include "platform/tempfiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace platform {
namespace {

std::string Template(const std::string& prefix, const std::string& folder) {
  std::string dir = folder.empty() ? TempFolder() : folder;
  if (!dir.empty() && dir.back() == '/') dir.pop_back();
  return dir + "/" + prefix + "XXXXXX";
}

}  // namespace

std::string TempFolder() {
  const char* t = getenv("TMPDIR");
  std::string dir = (t && *t) ? t : "/tmp";
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

bool IsTempName(const std::string& name, const std::string& prefix) {
  return name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0 &&
         std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                     [](unsigned char c) { return std::isalnum(c) != 0; });
}

std::string MakeTempFile(const std::string& prefix, const std::string& folder) {
  std::string path = Template(prefix, folder);
  // mkstemp creates the file exclusively (O_CREAT | O_EXCL), so it never
  // follows a link planted under the chosen name; its mode is 0600.
  int fd = mkstemp(path.data());
  if (fd < 0) return "";
  close(fd);
  return path;
}

std::string MakeTempFolder(const std::string& prefix, const std::string& folder) {
  std::string path = Template(prefix, folder);
  // mkdtemp creates the folder exclusively with mode 0700.
  if (!mkdtemp(path.data())) return "";
  return path;
}

}  // namespace platform
