#pragma once
// Binds the control panel and the periphery host into the monitor: their
// forms, the watch and RAM windows with the form manager, and their
// operations (FindCodeRow, the symbol load, the RAM fill) into the seams.
namespace monitor {

class MonitorState;

void RegisterDebugForms(MonitorState& state);

}  // namespace monitor
