#pragma once
// Where the project's source file lies, as the build and the disassembler
// read its name.
#include <string>

namespace monitor {

// A source name without any "/" lies in the project's folder (the folder of
// `projectFile`, none when it has none); a name with a folder, or an empty
// one, is used as it stands.
std::string ProjectSourcePath(const std::string& sourceFile, const std::string& projectFile);

class MonitorState;
// The same for the project the monitor holds.
std::string ProjectSourcePath(const MonitorState& state);

}  // namespace monitor
