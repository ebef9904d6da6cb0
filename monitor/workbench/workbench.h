#pragma once
// The workbench in the monitor: registers the editor forms and binds the
// operations the monitor core and the debug views call.
namespace monitor {

class Workbench;

void BindWorkbench(Workbench& bench);

}  // namespace monitor
