#pragma once
// The main window's code-file commands: the ROM characteristic file of a
// picked code image, and the hand-over of a .cod file to the outside
// converter binmake. Both use the main window's common dialogs.
#include <string>

namespace monitor {

class MonitorState;

// The prefix of the names the disassembler front end proposes: the project
// source's base name (cut at the last "." of its last component), in the
// folder the build finds the source in, followed by "."; "*." without a
// source.
std::string DisassemblyPrefix(const MonitorState& state);

// Picks a code image ("Binary File") and writes <base>.STA beside it through
// K42XXDIS. A cancel, the untouched "*.bin" or another extension does
// nothing; a missing library is silent.
void DisassembleBinary(MonitorState& state);

// Picks a .cod file and starts binmake (program folder, then $PATH) with its
// name as the one argument, detached. A cancel does nothing; a converter that
// is missing or cannot start is silent.
void ConvertCodToBin(MonitorState& state);

}  // namespace monitor
