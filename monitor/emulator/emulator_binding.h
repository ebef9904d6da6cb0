#pragma once
// The in-circuit emulator in the monitor: its link, its settings window and
// its run target, through which the core and the debug views reach it.
namespace monitor {

class MonitorState;

// Makes the link, registers the settings window and installs the emulator's
// run target in the state (MonitorState::Emulator, and ActiveTarget outside
// kSimulator).
void BindEmulatorLink(MonitorState& state);

}  // namespace monitor
