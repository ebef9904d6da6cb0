#pragma once
// What the panel and the debug windows show differently per target, decided
// in one place from TargetState beside MonitorState::ActiveTarget(): the
// simulated chip is live whenever no run executes, the emulator only while
// its session is halted with its state known.
namespace monitor {

class MonitorState;

// The registers and flags show the target's state and take edits.
bool RegistersLive(const MonitorState& state);
// The run buttons take a command.
bool ReadyForCommand(const MonitorState& state);
// A run is under way (the stop has something to end).
bool TargetRunning(const MonitorState& state);
// The port images show their levels, and take a click.
bool PortsShown(const MonitorState& state);
bool PortsLive(const MonitorState& state);
// The target has a session to connect, and it is connected.
bool HasSession(const MonitorState& state);
bool SessionOpen(const MonitorState& state);
// The Connect button's two commands: a session to open (not connected), or
// one to close (connected and idle).
bool CanConnect(const MonitorState& state);
bool CanDisconnect(const MonitorState& state);
// The target keeps the data cells, their watch conditions and the trace
// records in memories of its own: the watch window clears the conditions
// when it opens, the trace window reads and resets the records there and
// leaves its view alone when the mode changes.
bool KeepsOwnMemories(const MonitorState& state);
// The control panel hosts the chip's periphery window beside it.
bool HostsPeriphery(const MonitorState& state);
// The control panel's caption.
const char* PanelCaption(const MonitorState& state);

}  // namespace monitor
