#pragma once
#include <string>

namespace platform {

// Reads a whole regular file into `content`. A folder, a device, a pipe or a
// file that cannot be opened or read gives false, as a missing file does.
bool ReadWholeFile(const std::string& path, std::string& content);

}  // namespace platform
