#pragma once
// Loading of shared libraries by name, in place of LoadLibrary and friends.
#include <string>
#include <vector>

namespace platform {

using LibraryHandle = void*;

// Loads a library. A name without '/' is looked up in `folder` (the program
// folder when empty), case-insensitively; a ".DLL" suffix, or none, also tries
// ".so". Symbols stay local to the library (RTLD_NOW | RTLD_LOCAL).
// Returns nullptr when it cannot be found or loaded.
LibraryHandle LoadLibrary(const std::string& name, const std::string& folder = "");

// Looks a symbol up in that library only, never in others.
void* GetProcAddress(LibraryHandle library, const char* symbol);

// Unloads it; returns false for a null or unknown handle.
bool FreeLibrary(LibraryHandle library);

// The dynamic loader's last error text, for diagnostics.
std::string LastLibraryError();

// The path that LoadLibrary would open for `name`, or "" when none exists.
std::string ResolveLibraryPath(const std::string& name, const std::string& folder = "");

}  // namespace platform
