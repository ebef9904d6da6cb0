#pragma once
// Every subsystem's operations and forms bound into the monitor's state as
// the program ships them; the program calls it before Main, and a test that
// checks what the shipped program shows does the same.
namespace monitor {

class MonitorState;
class Workbench;
struct Programming;

void BindSubsystems(MonitorState& state, Workbench& workbench, Programming& programming);

}  // namespace monitor
