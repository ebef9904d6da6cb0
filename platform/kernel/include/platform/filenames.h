#pragma once
// File names: paths keep their case, existing files are found without case.
#include <string>

namespace platform {

// Resolves an existing path component by component without regard to case.
// Returns the path as it exists on disk, or "" when some component is missing.
// A component that matches exactly is preferred over a case-insensitive match.
std::string ResolvePathNoCase(const std::string& path);

// The path of an existing file if found (exactly or without case), otherwise
// the path as given, so that a new file is created with the user's case.
std::string FindOrKeepPath(const std::string& path);

// The path without its extension: cut at the last '.' of the last component.
// A '.' in a folder name never cuts.
std::string BaseName(const std::string& path);

// The last component of a path.
std::string FileName(const std::string& path);

// The folder part of a path with its trailing '/', or "" when there is none.
std::string FolderOf(const std::string& path);

// The folder of the running executable, with a trailing '/'.
std::string ProgramPath();

// Overrides ProgramPath (tests, and programs started from a copied folder).
void SetProgramPath(const std::string& folder);

// Case-insensitive comparison of two ASCII strings.
bool EqualsNoCase(const std::string& a, const std::string& b);

}  // namespace platform
