#include "core/simulator_target.h"

#include "core/data_cells.h"
#include "core/monitor_state.h"
#include "core/panel_controls.h"
#include "core/vicectrl.h"
#include "core/view.h"
#include "platform/controls.h"
#include "platform/messagebox.h"

namespace monitor {
namespace {

constexpr int kRunBeeps = 3;

void UpdateTraceWindow(MonitorState& state) {
  Services::Call(state.Seams.debug.UpdateTraceWindow);
}

}  // namespace

RunTarget& MonitorState::Simulator() {
  if (!simulator_) simulator_ = std::make_unique<SimulatorTarget>(*this);
  return *simulator_;
}

bool SimulatorTarget::Go() {
  RefreshPanel(state_);
  GoSimulator(state_);
  if (PanelControls* panel = Panel(state_)) {
    panel->wheelpnl->SetCaption("STOP");
    panel->wheelpnl->SetForeColor(0);
  }
  ShowProgramCounter(state_);
  UpdateTraceWindow(state_);
  for (int beep = 0; beep < kRunBeeps; ++beep) platform::Beep();
  return true;
}

bool SimulatorTarget::Step() {
  StepSimulator(state_);
  ShowProgramCounter(state_);
  UpdateTraceWindow(state_);
  return true;
}

void SimulatorTarget::AnimateStep() {
  StepSimulator(state_);
  ShowProgramCounter(state_);
}

bool SimulatorTarget::CanStop(bool animating) const {
  return state_.RunActive != 0 || animating;
}

void SimulatorTarget::Stop() {
  // The break request ends a run in progress; the step after it is refused
  // then, and executes one instruction when nothing runs.
  state_.Target.Instruction_Break(k42::kStopStep);
  Step();
}

bool SimulatorTarget::Reset(bool) {
  state_.Target.Instruction_Reset(&state_.CpuState, state_.ProgramMemory.data(),
                                  state_.RegisterFile.data(), state_.TraceBuffer.data());
  ShowProgramCounter(state_);
  RefreshRegisters(state_);
  ShowRunIndicators(state_);
  RefreshRamWindow(state_);
  RefreshWatchWindow(state_);
  return true;
}

void SimulatorTarget::WriteDataCell(int32_t address, int32_t value, int16_t) {
  WriteTargetRegister(state_, address, static_cast<int16_t>(value));
}

void SimulatorTarget::SetWatchCompare(int32_t cell, int32_t relation, int32_t match) {
  SetRegisterCompare(state_, cell, relation, match);
}

void SimulatorTarget::SetWatchFlag(int32_t cell, int32_t mask, bool on) {
  SetRegisterFlag(state_, cell, mask, on);
}

void SimulatorTarget::ClearWatch(int32_t cell) {
  ClearRegisterCondition(state_, cell);
}

}  // namespace monitor
