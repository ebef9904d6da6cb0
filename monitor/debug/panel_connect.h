#pragma once
// The panel's Connect button and the Download button's hold-off. Connecting
// sets the data-memory range to the emulator's 128 cells, sends their
// condition units and holds Download off for a second, so that a download
// never starts while the emulator settles; disconnecting stops a run first.
namespace monitor {

class IceView;
class MonitorState;

// Not connected (session 1): connect, range 0..127, InitDataMemory, Download
// held off. Connected and idle (2): stop and disconnect. Else nothing. Only
// while the button is enabled; it is disabled for the command.
void ConnectCommand(MonitorState& state);
// Download disabled with its held-off picture until RefreshTimer ends.
void HoldDownloadButton(MonitorState& state);

}  // namespace monitor
