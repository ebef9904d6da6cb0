#pragma once
// The project's LCD definition file, named after the project file that the
// monitor shows in the host window's caption.
#include <string>

namespace simcore::lcd {

// The caption is "<title> <project path>" (the path upper-cased by the
// monitor) or the title alone. The project path starts at the first blank
// followed by '/'; its extension (from the last '.' of the last component)
// becomes ".CFG", and the file is found on disk without regard to case:
// the existing file, else the existing folder with that name, else the name
// as derived. Without a project path: "".
std::string LcdProjectPath(const std::string& caption);

}  // namespace simcore::lcd
