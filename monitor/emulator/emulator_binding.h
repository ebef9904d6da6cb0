#pragma once
// The in-circuit emulator in the monitor: its link, its settings window and
// its run target, through which the core and the debug views reach it.
namespace monitor {

class EmulatorLink;
class MonitorState;

// Makes the link, registers the settings window and installs the emulator's
// run target in the state (MonitorState::Emulator, and ActiveTarget outside
// kSimulator). The target owns the link; the settings window and the
// session's handshake end are handed it here. Returns it for whoever drives
// the emulator below its target (tests, benchmarks).
EmulatorLink& BindEmulatorLink(MonitorState& state);

}  // namespace monitor
