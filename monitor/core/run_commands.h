#pragma once
// The run commands of the control panel's keys (F5 go, F8 step, F6 animate,
// P stop) and of its buttons, and the animation timer's tick, each on the active
// target (run_target.h): the simulator runs inside the command; the
// emulator's go, step and stop return at once.
//
// A simulated go runs synchronously inside the key's handler while the chip
// module pumps events, so these commands may be entered again during a run:
// RunActive keeps a second go or step out, SimulatorBusy a second execute.
// A stop is taken only while the target has something to end
// (RunTarget::CanStop), whether a key or the button asked for it.
namespace monitor {

class MonitorState;

// The animation timer's period in milliseconds.
inline constexpr int kAnimateInterval = 600;

void GoCommand(MonitorState& state);
void StepCommand(MonitorState& state);
void AnimateCommand(MonitorState& state);
void StopCommand(MonitorState& state);
// One tick of timAnimate: a step and the program counter's row.
void AnimateTick(MonitorState& state);

}  // namespace monitor
