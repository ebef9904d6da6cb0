#pragma once
// The in-circuit emulator in the monitor: its link, its settings window and
// the operations the poll step and the debug views call.
namespace monitor {

class MonitorState;

// Makes the link, registers the settings window and binds the poll step's
// emulator operations (the state read and the link's recovery).
void BindEmulatorLink(MonitorState& state);

}  // namespace monitor
