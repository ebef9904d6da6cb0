#pragma once
// The emulator's place while none is bound: a target that takes no command.
// The panel opens on it without a session, and nothing is read or written.
#include "core/run_target.h"

namespace monitor {

class AbsentTarget : public RunTarget {
 public:
  bool Go() override { return false; }
  bool Step() override { return false; }
  void AnimateStep() override {}
  void AnimateTick() override {}
  bool CanStop(bool) const override { return true; }
  void Stop() override {}
  bool Reset(bool) override { return false; }
  bool Open(PanelControls&) override { return true; }
  void Connect() override {}
  void Disconnect() override {}
  void ShowPeriphery(PanelControls&) override {}
  void Close(PanelControls&) override {}
  void Release() override {}
  void AfterCodeLoad() override {}
  void SendCommandBits() override {}
  void WriteDataCell(int32_t, int32_t, int16_t) override {}
  void AfterCellWrite(int32_t) override {}
  void WriteDataCells(int32_t, const std::vector<uint8_t>&) override {}
  void WriteConditions(int32_t, const std::vector<uint8_t>&) override {}
  std::vector<uint8_t> ReadDataCells(int32_t) override { return {}; }
  std::vector<uint8_t> ReadTrace(int32_t, int32_t) override { return {}; }
  void ClearTrace(int32_t, int32_t) override {}
  void SendProgramCell(int32_t, int32_t) override {}
  void MarkProgramCell(int32_t) override {}
  void SetWatchCompare(int32_t, int32_t, int32_t) override {}
  void SetWatchFlag(int32_t, int32_t, bool) override {}
  void ClearWatch(int32_t) override {}
  void DownloadCode() override {}
  void Poll() override {}
};

}  // namespace monitor
