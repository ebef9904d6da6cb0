#pragma once
#include <string>

namespace platform {

// Replaces `path` with `content` through a temporary file in the same folder
// and a rename, so a failed write leaves the previous file intact.
bool WriteFileAtomically(const std::string& path, const std::string& content);

}  // namespace platform
