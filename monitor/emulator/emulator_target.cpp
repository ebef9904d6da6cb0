#include "emulator/emulator_target.h"

#include "core/code_grid.h"
#include "core/data_cells.h"
#include "core/monitor_state.h"
#include "core/vicectrl.h"
#include "core/view_clearing.h"
#include "emulator/emulator_commands.h"
#include "emulator/emulator_link.h"
#include "emulator/emulator_session.h"
#include "platform/run_time_error.h"

namespace monitor {
namespace {

// The state read and the reset's wait fail the link, not the program.
bool LinkFailure(const platform::RunTimeError& error) {
  return error.Number() == 31993 || error.Number() == 32000;
}

template <typename Body>
void SurviveLinkFailure(Body body) {
  try {
    body();
  } catch (const platform::RunTimeError& error) {
    if (!LinkFailure(error)) throw;
  }
}

}  // namespace

EmulatorTarget::EmulatorTarget(MonitorState& state)
    : state_(state), link_(std::make_unique<EmulatorLink>(state)) {}

EmulatorTarget::~EmulatorTarget() = default;

EmulatorLink& LinkOf(MonitorState& state) {
  return dynamic_cast<EmulatorTarget&>(state.Emulator()).Link();
}

bool EmulatorTarget::Go() {
  state_.CpuStateDirty = -1;
  HardwareGo(state_);
  return false;
}

bool EmulatorTarget::Step() {
  state_.CpuStateDirty = -1;
  HardwareStep(state_);
  return false;
}

void EmulatorTarget::AnimateTick() {
  // Only a connected, idle emulator steps, so steps never pile up.
  if (state_.TargetState == kEmulatorHalted) Step();
}

void EmulatorTarget::Stop() {
  HardwareStop(state_);
}

bool EmulatorTarget::Reset(bool anyState) {
  if (state_.TargetState != kEmulatorHalted && !anyState) return false;
  ClearCpuState(state_);
  ShowProgramCounter(state_);
  RefreshAfterStop(state_);
  return true;
}

void EmulatorTarget::LoadSettings() {
  LoadCommSettings(state_);
}

void EmulatorTarget::Connect() {
  OpenEmulatorSession(state_);
}

void EmulatorTarget::Disconnect() {
  CloseEmulatorSession(state_);
}

void EmulatorTarget::SendCommandBits() {
  // CD off: the emulator runs, and the changed bit goes out with the next
  // dispatch the session allows.
  if (link_->ReadPortSignal() == 0) {
    ResetIndicatorStates(state_);
    EmulatorDispatch(state_);
  }
}

void EmulatorTarget::WriteDataCell(int32_t address, int32_t value, int16_t watchRow) {
  state_.RegisterFile[static_cast<size_t>(address)].value = value;
  ApplyRamValue(state_, watchRow, address, value);
}

void EmulatorTarget::AfterCellWrite(int32_t address) {
  // The index word follows its two cells, and goes out with the next command.
  if (address == 110 || address == 111) {
    state_.CpuState.word[k42::kIndex] = static_cast<int16_t>(
        (state_.RegisterFile[111].value & 15) * 16 + (state_.RegisterFile[110].value & 15));
    state_.CpuStateDirty = -1;
  }
  RefreshAfterStop(state_);
}

bool EmulatorTarget::WriteMemory(int32_t address, const std::vector<uint8_t>& units) {
  return link_->SendCommand(address, units);
}

std::vector<uint8_t> EmulatorTarget::ReadMemory(int32_t address, int32_t count) {
  return link_->ReceiveData(address, count);
}

void EmulatorTarget::MarkProgramCell(int32_t address) {
  MarkCodeRow(state_, address);
}

void EmulatorTarget::DownloadCode() {
  WriteMemory(0, BuildDownloadStream(state_.ProgramMemory, state_.ListedAddresses));
}

void EmulatorTarget::Poll() {
  SurviveLinkFailure([&] {
    if (state_.TargetState == kEmulatorHaltedUnread && state_.LinkState == kLinkIdle) {
      ReceiveEmulatorState(state_);
      RefreshAfterStop(state_);
      Services::Call(state_.Seams.debug.UpdateTraceWindow);
    }
  });
  SurviveLinkFailure([&] {
    if (state_.LinkState == kLinkFailed) link_->PollEmulator();
  });
}

}  // namespace monitor
