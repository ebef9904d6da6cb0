#pragma once
// The section "Controllers" of TAVIX.INI in the caller's folder: each key a
// controller name, its value the file name of the chip module.
#include <string>
#include <vector>

namespace stdk42xx {

// The folder text as the caller gives it, with '/' separators and a trailing
// '/' (a trailing '\' is taken as one; "" stays "").
std::string FolderPath(const char* folder);

// "<folder>TAVIX.INI", found without regard to case.
std::string ConfigFile(const std::string& folderPath);

// The controller names in file order; a missing file or section is an empty list.
std::vector<std::string> ControllerNames(const std::string& folderPath);

inline constexpr const char* kNotFound = "NOT_FOUND";

// The module file named for a controller, or kNotFound.
std::string ControllerModuleFile(const std::string& folderPath, const std::string& name);

// Copies text into a caller's buffer of `length` bytes: at most length - 1
// characters and the NUL. Nothing when length <= 0 or the buffer is null.
void CopyToBuffer(const std::string& text, char* buffer, int32_t length);

}  // namespace stdk42xx
