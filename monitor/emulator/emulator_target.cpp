#include "emulator/emulator_target.h"

#include <array>

#include "core/code_grid.h"
#include "core/data_cells.h"
#include "core/monitor_state.h"
#include "core/settings/convert_mod.h"
#include "core/vicectrl.h"
#include "core/view_clearing.h"
#include "emulator/emulator_commands.h"
#include "emulator/emulator_link.h"
#include "emulator/emulator_session.h"
#include "emulator/error_numbers.h"
#include "platform/run_time_error.h"

namespace monitor {
namespace {

// The emulator's memory map, in units.
constexpr int32_t kProgramBase = 0;
constexpr int32_t kDataCellBase = 0x1080;
constexpr int32_t kConditionBase = 0x1F80;
constexpr int32_t kTraceBase = 0x2000;
constexpr size_t kUnitBytes = 3;

// The state read and the reset's wait fail the link, not the program.
bool LinkFailure(const platform::RunTimeError& error) {
  return error.Number() == kErrStateNotRead || error.Number() == kErrNoAnswer;
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

bool EmulatorTarget::Go() {
  state_.CpuStateDirty = -1;
  HardwareGo(*link_);
  return false;
}

bool EmulatorTarget::Step() {
  state_.CpuStateDirty = -1;
  HardwareStep(*link_);
  return false;
}

void EmulatorTarget::AnimateTick() {
  // Only a connected, idle emulator steps, so steps never pile up.
  if (state_.TargetState == kEmulatorHalted) Step();
}

void EmulatorTarget::Stop() {
  HardwareStop(*link_);
}

bool EmulatorTarget::Reset(bool anyState) {
  if (state_.TargetState != kEmulatorHalted && !anyState) return false;
  ClearCpuState(state_);
  ShowProgramCounter(state_);
  RefreshAfterStop(state_);
  return true;
}

bool EmulatorTarget::Open(PanelControls&) {
  LoadCommSettings(*link_);
  return true;
}

void EmulatorTarget::Connect() {
  OpenEmulatorSession(*link_);
}

void EmulatorTarget::Disconnect() {
  CloseEmulatorSession(*link_);
}

void EmulatorTarget::SendCommandBits() {
  // CD off: the emulator runs, and the changed bit goes out with the next
  // dispatch the session allows.
  if (link_->ReadPortSignal() == 0) {
    ResetIndicatorStates(state_);
    EmulatorDispatch(*link_);
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

void EmulatorTarget::WriteDataCells(int32_t firstCell, const std::vector<uint8_t>& units) {
  link_->SendCommand(kDataCellBase + firstCell, units);
}

void EmulatorTarget::WriteConditions(int32_t firstCell, const std::vector<uint8_t>& units) {
  link_->SendCommand(kConditionBase + firstCell, units);
}

std::vector<uint8_t> EmulatorTarget::ReadDataCells(int32_t count) {
  return link_->ReceiveData(kDataCellBase, count).value_or(std::vector<uint8_t>{});
}

std::vector<uint8_t> EmulatorTarget::ReadTrace(int32_t first, int32_t count) {
  return link_->ReceiveData(kTraceBase + first, count).value_or(std::vector<uint8_t>{});
}

void EmulatorTarget::ClearTrace(int32_t first, int32_t count) {
  // An empty record is all ones.
  link_->SendCommand(kTraceBase + first,
                     std::vector<uint8_t>(static_cast<size_t>(count) * kUnitBytes, 0xFF));
}

void EmulatorTarget::SendProgramCell(int32_t address, int32_t unit) {
  const std::array<uint8_t, 3> bytes = LongToBytes3(unit);
  link_->SendCommand(kProgramBase + address, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

void EmulatorTarget::MarkProgramCell(int32_t address) {
  MarkCodeRow(state_, address);
}

void EmulatorTarget::SetWatchCompare(int32_t cell, int32_t, int32_t) {
  ApplyWatchCondition(state_, cell);
}

void EmulatorTarget::SetWatchFlag(int32_t cell, int32_t, bool) {
  ApplyWatchCondition(state_, cell);
}

void EmulatorTarget::DownloadCode() {
  link_->SendCommand(kProgramBase,
                     BuildDownloadStream(state_.ProgramMemory, state_.ListedAddresses));
}

void EmulatorTarget::Poll() {
  SurviveLinkFailure([&] {
    if (state_.TargetState == kEmulatorHaltedUnread && state_.LinkState == kLinkIdle) {
      ReceiveEmulatorState(*link_);
      RefreshAfterStop(state_);
      Services::Call(state_.Seams.debug.UpdateTraceWindow);
    }
  });
  SurviveLinkFailure([&] {
    if (state_.LinkState == kLinkFailed) link_->PollEmulator();
  });
}

}  // namespace monitor
