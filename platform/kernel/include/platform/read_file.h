#pragma once
#include <cstddef>
#include <string>

namespace platform {

// The largest file ReadWholeFile reads unless a caller gives its own bound.
inline constexpr size_t kReadFileLimit = size_t{256} << 20;

// Reads a whole regular file into `content`. A folder, a device, a pipe, a
// file larger than `limit` or a file that cannot be opened or read gives
// false, as a missing file does; opening never waits. On failure `error`,
// when given, receives the errno of the failure (EISDIR or EINVAL for
// something that is not a regular file, EFBIG for one over the limit).
bool ReadWholeFile(const std::string& path, std::string& content, int* error = nullptr,
                   size_t limit = kReadFileLimit);

// Reads at most the first `limit` bytes of a regular file, with the same
// refusals as ReadWholeFile; `cut` tells whether the file holds more.
bool ReadFileHead(const std::string& path, std::string& content, size_t limit, bool& cut,
                  int* error = nullptr);

}  // namespace platform
