#pragma once
// Temporary files and folders: created exclusively, mode 0700 (0600 for
// files), never through an existing link.
#include <string>

namespace platform {

// Creates a new empty file in `folder` (the system's temporary folder when
// empty) whose name starts with `prefix`. Returns its path, or "" on failure.
std::string MakeTempFile(const std::string& prefix, const std::string& folder = "");

// Creates a new folder likewise. Returns its path, or "" on failure.
std::string MakeTempFolder(const std::string& prefix, const std::string& folder = "");

// Whether `name` is one that mkstemp or mkdtemp makes from the template
// `prefix` followed by "XXXXXX".
bool IsTempName(const std::string& name, const std::string& prefix);

// The system's temporary folder ($TMPDIR or /tmp), without a trailing '/'.
std::string TempFolder();

}  // namespace platform
