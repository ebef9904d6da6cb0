#pragma once
// The assembler's symbol file into the watch window's symbol list.
#include <string>

namespace monitor {

class MonitorState;

// Loads the watch window when it is not open and lists the file's register
// symbols from row 1, leaving no row of an earlier load. A file that cannot
// be read gives an empty list. The control panel gets the focus at the end.
void LoadSymbolFile(MonitorState& state, const std::string& path);

}  // namespace monitor
