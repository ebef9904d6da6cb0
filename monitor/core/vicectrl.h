#pragma once
// The simulated target: run until a stop, one step, the guarded execute
// under both, and the panel's reset.
#include <cstdint>

namespace monitor {

class MonitorState;

// ExecuteSimulator with run mode 0.
void GoSimulator(MonitorState& state);
// ExecuteSimulator with run mode 16: one instruction.
void StepSimulator(MonitorState& state);

// Unless a call is already in progress (SimulatorBusy): clears the stop
// causes (words 17-19), blanks their captions, calls Instruction_Execute with
// the records and the mode, then shows registers, stop causes, watch and RAM.
// SimulatorBusy is released on every exit, also when the call raises an
// error (then nothing is redisplayed and the error goes on to the caller).
void ExecuteSimulator(MonitorState& state, int16_t mode);

// Alt+R of the panel: ignored while RunActive is 1; otherwise stops the
// animation and, in simulation, resets the chip through Instruction_Reset
// and shows the reset state; with the emulator connected and stopped
// (kEmulatorHalted) it clears the CPU words instead.
void ResetCommand(MonitorState& state);
// The reset both Alt+R and the panel's Reset button give: with
// `anyEmulatorState` the emulator's CPU words are cleared in whatever session
// state it is, otherwise only in state 2.
void ResetTarget(MonitorState& state, bool anyEmulatorState);

// Shows the program grid's row of the current program counter (word 3 plus
// the stack level, masked to 12 bits); nothing when the stack level is outside
// 0..2 or the address has no row.
void ShowProgramCounter(MonitorState& state);

}  // namespace monitor
