#pragma once
// Where the control finds its files: the "Windows folder" (the target list)
// is $TAVIX_WINDOWS_DIR and the "system folder" (help) $TAVIX_SYSTEM_DIR,
// each the library's own folder when unset; both end with '/'.
#include <string>

namespace pelto {

std::string WindowsFolder();
std::string SystemFolder();
// The folder of Pelto.so itself.
std::string LibraryFolder();

}  // namespace pelto
