#include "workbench/controller_names.h"

#include <cstdint>
#include <cstring>

#include "core/target_interface.h"

namespace monitor {

std::vector<std::string> ReadControllerNames(TargetInterface& target,
                                             const std::string& programPath) {
  std::vector<std::string> names;
  for (int32_t n = 1;; ++n) {
    char buffer[256] = {};
    if (target.GetController(n, buffer, 255, programPath) == -1) break;
    names.emplace_back(buffer, strnlen(buffer, 255));
  }
  return names;
}

}  // namespace monitor
