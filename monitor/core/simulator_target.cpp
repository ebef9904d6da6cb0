#include "core/simulator_target.h"

#include <algorithm>
#include <string>

#include "core/data_cells.h"
#include "core/monitor_state.h"
#include "core/panel_controls.h"
#include "core/vicectrl.h"
#include "core/view.h"
#include "platform/controls.h"
#include "platform/hooks.h"
#include "platform/messagebox.h"

namespace monitor {
namespace {

constexpr int kRunBeeps = 3;
constexpr int kOptionsLength = 255;
constexpr const char* kRefusedText =
    "impossible to simulate before type of controller defined in the project";

void UpdateTraceWindow(MonitorState& state) {
  Services::Call(state.Seams.debug.UpdateTraceWindow);
}

}  // namespace

RunTarget& MonitorState::Simulator() {
  if (!simulator_) simulator_ = std::make_unique<SimulatorTarget>(*this);
  return *simulator_;
}

bool SimulatorTarget::Go() {
  if (PanelControls* panel = Panel(state_)) panel->RestorePeriphery();
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

bool SimulatorTarget::Open(PanelControls& panel) {
  int32_t bound = -1;
  platform::GuardedCall([&] {
    bound = state_.Target.SetController(state_.ControllerName, reinterpret_cast<intptr_t>(&panel),
                                        state_.ProgramPath);
  });
  if (bound == -1) {
    // Without STDK42XX its own error was shown; the refusal is told only
    // when the module answered.
    if (state_.Target.Bound()) platform::MessageBox(kRefusedText, "Tavix", platform::MB_OK);
    state_.SimulationRefused = -1;
    return false;
  }
  for (int word : {0, 2, 3, 4}) {  // accumulator, stack level, PC stack 0 and 1
    state_.CpuState.word[word] = 0;
  }
  return true;
}

// The chip's periphery window inside the panel's host, and the host sized
// to it.
void SimulatorTarget::ShowPeriphery(PanelControls& panel) {
  platform::GuardedCall([&] {
    state_.HostCloseAllowed = 0;
    void* frame = panel.OpenPeriphery();
    if (frame == nullptr) return;
    state_.Target.InitInterface(frame);
    state_.Target.SetControllerOptions(state_.PanelSettings);
    panel.FitPeriphery();
  });
}

void SimulatorTarget::Close(PanelControls& panel) {
  if (state_.Target.Bound()) {
    platform::GuardedCall([&] {
      std::string buffer(kOptionsLength + 1, '\0');
      const int32_t length = state_.Target.GetControllerOptions(kOptionsLength, buffer.data());
      if (length != -1) {
        StorePanelOptions(
            state_, panel.ProjectAtLoad,
            buffer.substr(0, static_cast<size_t>(std::clamp(length, 0, kOptionsLength))));
      }
    });
    platform::GuardedCall(
        [&] { state_.Target.UnloadInterface(reinterpret_cast<intptr_t>(panel.PeripheryFrame())); });
  }
  state_.HostCloseAllowed = -1;
  state_.Forms.Unload("Display");
}

void SimulatorTarget::AfterCodeLoad() {
  ResetCommand(state_);
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
