#pragma once
#include <string>

namespace platform {

// Replaces `path` with `content` through a temporary file in the same folder
// and a rename, so a failed write leaves the previous file intact. On failure
// `error`, when given, receives the errno of the step that failed.
bool WriteFileAtomically(const std::string& path, const std::string& content,
                         int* error = nullptr);

}  // namespace platform
