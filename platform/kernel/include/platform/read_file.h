#pragma once
#include <string>

namespace platform {

// Reads a whole regular file into `content`. A folder, a device, a pipe or a
// file that cannot be opened or read gives false, as a missing file does.
// On failure `error`, when given, receives the errno of the failure (EISDIR
// or EINVAL for something that is not a regular file).
bool ReadWholeFile(const std::string& path, std::string& content, int* error = nullptr);

}  // namespace platform
