#pragma once
// The in-circuit emulator as the monitor's run target: the session's
// commands (HardwareGo, HardwareStep, HardwareStop, OpenEmulatorSession, ...)
// and the emulator's memory map over the link's memory access (SendCommand,
// ReceiveData): the program from unit 0, the data cells' values from 0x1080,
// their watch conditions from 0x1F80 and the trace records from 0x2000, one
// unit each. Then the state read
// after a halt (ReceiveEmulatorState, RefreshAfterStop) and the link's
// recovery (PollEmulator). Every command returns at once; the session
// carries on through the poll step.
#include <memory>

#include "core/run_target.h"

namespace monitor {

class EmulatorLink;
class MonitorState;

class EmulatorTarget final : public RunTarget {
 public:
  // Makes the emulator's serial link, which the target owns.
  explicit EmulatorTarget(MonitorState& state);
  ~EmulatorTarget() override;

  EmulatorLink& Link() { return *link_; }

  bool Go() override;
  bool Step() override;
  void AnimateStep() override { Step(); }
  void AnimateTick() override;
  // The session decides what a stop means in its state.
  bool CanStop(bool) const override { return true; }
  void Stop() override;
  bool Reset(bool anyState) override;
  bool Open(PanelControls&) override;
  void Connect() override;
  void Disconnect() override;
  // The emulator runs the program on its own hardware: no periphery window.
  void ShowPeriphery(PanelControls&) override {}
  void Close(PanelControls&) override {}
  void Release() override { Stop(); }
  // The program reaches the emulator with the download, which resets it.
  void AfterCodeLoad() override {}
  void SendCommandBits() override;
  void WriteDataCell(int32_t address, int32_t value, int16_t watchRow) override;
  void AfterCellWrite(int32_t address) override;
  void WriteDataCells(int32_t firstCell, const std::vector<uint8_t>& units) override;
  void WriteConditions(int32_t firstCell, const std::vector<uint8_t>& units) override;
  std::vector<uint8_t> ReadDataCells(int32_t count) override;
  std::vector<uint8_t> ReadTrace(int32_t first, int32_t count) override;
  void ClearTrace(int32_t first, int32_t count) override;
  void SendProgramCell(int32_t address, int32_t unit) override;
  void MarkProgramCell(int32_t address) override;
  // The emulator holds the conditions in its own memory.
  void SetWatchCompare(int32_t cell, int32_t relation, int32_t match) override;
  void SetWatchFlag(int32_t cell, int32_t mask, bool on) override;
  void ClearWatch(int32_t) override {}
  void DownloadCode() override;
  void Poll() override;

 private:
  MonitorState& state_;
  std::unique_ptr<EmulatorLink> link_;
};

}  // namespace monitor
