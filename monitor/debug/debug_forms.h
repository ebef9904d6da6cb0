#pragma once
// Binds the control panel and the periphery host into the monitor: their
// forms with the form manager, and FindCodeRow into the seams.
namespace monitor {

class MonitorState;

void RegisterDebugForms(MonitorState& state);

}  // namespace monitor
