#include "simcore/lcd/lcd_project_path.h"

#include <platform/filenames.h>

namespace simcore::lcd {

std::string LcdProjectPath(const std::string& caption) {
  const std::string::size_type start = caption.find(" /");
  if (start == std::string::npos) return "";
  const std::string project = caption.substr(start + 1);
  if (platform::FileName(project).empty()) return "";
  const std::string derived = platform::BaseName(project) + ".CFG";
  if (std::string found = platform::ResolvePathNoCase(derived); !found.empty()) return found;
  const std::string folder = platform::ResolvePathNoCase(platform::FolderOf(derived));
  if (!folder.empty()) {
    std::string path = folder;
    if (path.back() != '/') path += '/';
    return path + platform::FileName(derived);
  }
  return derived;
}

}  // namespace simcore::lcd
