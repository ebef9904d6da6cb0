// Simulator execution control.
#include "core/vicectrl.h"

#include "core/code_grid.h"
#include "core/monitor_state.h"
#include "core/panel_controls.h"
#include "core/view.h"
#include "platform/controls.h"

namespace monitor {

void GoSimulator(MonitorState& state) {
  ExecuteSimulator(state, k42::kRunModeRun);
}

void StepSimulator(MonitorState& state) {
  ExecuteSimulator(state, k42::kRunModeStep);
}

void ExecuteSimulator(MonitorState& state, int16_t mode) {
  if (state.SimulatorBusy != 0) return;
  state.SimulatorBusy = -1;
  struct Release {
    int16_t& busy;
    ~Release() { busy = 0; }
  } release{state.SimulatorBusy};
  for (int word = k42::kProgBreakHit; word <= k42::kTraceFull; ++word) {
    state.CpuState.word[word] = 0;
  }
  ShowRunIndicators(state);
  // The stop flags it returns are not needed: the displays read the stop
  // causes from words 17-19.
  state.Target.Instruction_Execute(&state.CpuState, state.ProgramMemory.data(),
                                   state.RegisterFile.data(), state.TraceBuffer.data(),
                                   static_cast<int32_t>(mode));
  state.SimulatorBusy = 0;
  RefreshRegisters(state);
  ShowRunIndicators(state);
  RefreshWatchWindow(state);
  RefreshRamWindow(state);
}

void ShowProgramCounter(MonitorState& state) {
  const int32_t level = state.CpuState.word[k42::kStackLevel];
  if (level < 0 || level > k42::kMaxStackLevel) return;
  PanelControls* panel = Panel(state);
  if (panel == nullptr) return;
  const int16_t row =
      FindCodeRow(*panel->grdProgram, state.CpuState.word[k42::kPcStack + level] & k42::kPcMask);
  // An address without a row beeps, on either target.
  ShowCodeRow(*panel->grdProgram, row, 1);
}

void ResetCommand(MonitorState& state) {
  ResetTarget(state, false);
}

void ResetTarget(MonitorState& state, bool anyEmulatorState) {
  if (state.RunActive == 1) return;
  PanelControls* panel = Panel(state);
  if (panel != nullptr) {
    panel->timAnimate->SetEnabled(false);
    ShowStopButton(state);  // an animation it ended kept Stop live
    panel->resetimg->setEnabled(false);
    panel->resetimg->SetPicture(panel->Picture("backuppic"));
  }
  if (!state.ActiveTarget().Reset(anyEmulatorState)) return;
  if (PanelControls* shown = Panel(state)) shown->resetimg->setEnabled(true);
}

}  // namespace monitor
