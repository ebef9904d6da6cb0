#pragma once
// The simulated chip as the monitor's run target: the control panel binds
// the chip module and its periphery window (SetController, InitInterface,
// UnloadInterface), execution goes through vicectrl (GoSimulator,
// StepSimulator), register writes through the chip module
// (WriteTargetRegister). It keeps no memory apart from the records (the chip
// reads the marks and the program from ProgramMemory, the watch conditions
// from its register cells, and keeps the index word in step with its cells
// itself), and has no session and no link to poll.
#include "core/run_target.h"

namespace monitor {

class MonitorState;

class SimulatorTarget final : public RunTarget {
 public:
  explicit SimulatorTarget(MonitorState& state) : state_(state) {}

  bool Go() override;
  bool Step() override;
  void AnimateStep() override;
  void AnimateTick() override { AnimateStep(); }
  bool CanStop(bool animating) const override;
  void Stop() override;
  bool Reset(bool anyState) override;
  bool Open(PanelControls& panel) override;
  void Connect() override {}
  void Disconnect() override {}
  void ShowPeriphery(PanelControls& panel) override;
  void Close(PanelControls& panel) override;
  // A run ends within its own call: nothing runs on past the panel.
  void Release() override {}
  void AfterCodeLoad() override;
  // The chip reads the options from CpuState at its next call.
  void SendCommandBits() override {}
  void WriteDataCell(int32_t address, int32_t value, int16_t watchRow) override;
  void AfterCellWrite(int32_t) override {}
  void WriteDataCells(int32_t, const std::vector<uint8_t>&) override {}
  void WriteConditions(int32_t, const std::vector<uint8_t>&) override {}
  std::vector<uint8_t> ReadDataCells(int32_t) override { return {}; }
  // The chip writes the trace records into TraceBuffer itself.
  std::vector<uint8_t> ReadTrace(int32_t, int32_t) override { return {}; }
  void ClearTrace(int32_t, int32_t) override {}
  void SendProgramCell(int32_t, int32_t) override {}
  void MarkProgramCell(int32_t) override {}
  void SetWatchCompare(int32_t cell, int32_t relation, int32_t match) override;
  void SetWatchFlag(int32_t cell, int32_t mask, bool on) override;
  void ClearWatch(int32_t cell) override;
  // The chip runs the program from ProgramMemory, which the code load filled.
  void DownloadCode() override {}
  void Poll() override {}

 private:
  MonitorState& state_;
};

}  // namespace monitor
