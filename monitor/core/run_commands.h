#pragma once
// The run commands of the control panel's keys (F5 go, F8 step, F6 animate,
// P stop) and of its buttons, and the animation timer's tick, each on the active
// target (run_target.h): the simulator runs inside the command; the
// emulator's go, step and stop return at once.
//
// A simulated go runs synchronously inside the key's handler while the chip
// module pumps events, so these commands may be entered again during a run:
// RunActive keeps a second go or step out, SimulatorBusy a second execute.
// The key's stop is taken only while the target has something to end
// (RunTarget::CanStop); the panel's Stop button stops in any case, so that
// in simulation with nothing running it executes one instruction.
namespace monitor {

class MonitorState;

// The animation timer's period in milliseconds.
inline constexpr int kAnimateInterval = 600;

void GoCommand(MonitorState& state);
void StepCommand(MonitorState& state);
void AnimateCommand(MonitorState& state);
void StopCommand(MonitorState& state);
// The stop both P and the Stop button give: with `evenIdle` also when the
// target has nothing to end.
void StopTarget(MonitorState& state, bool evenIdle);
// One tick of timAnimate: a step and the program counter's row.
void AnimateTick(MonitorState& state);

}  // namespace monitor
