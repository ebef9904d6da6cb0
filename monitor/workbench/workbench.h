#pragma once
// The workbench in the monitor: registers the editor forms and binds the
// operations the monitor core and the debug views call.
namespace monitor {

class MonitorState;
class Workbench;

void BindWorkbench(Workbench& bench);
// The project's form and operations (part of BindWorkbench).
void BindProject(MonitorState& state);

}  // namespace monitor
