#include <unistd.h>

#include <cstdlib>

#include "link_frames.h"
#include "platform/link.h"

namespace platform {

std::string LinkFolder() {
  if (const char* dir = std::getenv("TAVIX_LINK_DIR"); dir && *dir) return dir;
  if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run && *run)
    return std::string(run) + "/tavix-link";
  const char* tmp = std::getenv("TMPDIR");
  std::string base = tmp && *tmp ? tmp : "/tmp";
  return base + "/tavix-link-" + std::to_string(getuid());
}

std::string LinkSocketPath(const std::string& application, const std::string& topic) {
  return LinkFolder() + "/" + link::UpperName(application) + "." + link::UpperName(topic) + ".sock";
}

}  // namespace platform
