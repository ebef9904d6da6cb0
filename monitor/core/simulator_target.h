#pragma once
// The simulated chip as the monitor's run target: execution through
// vicectrl (GoSimulator, StepSimulator), register writes through the chip
// module (WriteTargetRegister); it keeps no memory apart from the records,
// has no session and no link to poll.
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
  void Release() override {}
  void LoadSettings() override {}
  void Connect() override {}
  void Disconnect() override {}
  void SendCommandBits() override {}
  void WriteDataCell(int32_t address, int32_t value, int16_t watchRow) override;
  // The chip keeps the index word in step with its two cells itself.
  void AfterCellWrite(int32_t) override {}
  bool WriteMemory(int32_t, const std::vector<uint8_t>&) override { return false; }
  std::vector<uint8_t> ReadMemory(int32_t, int32_t) override { return {}; }
  // The chip reads the marks from ProgramMemory.
  void MarkProgramCell(int32_t) override {}
  // The chip runs ProgramMemory as the load filled it.
  void DownloadCode() override {}
  void Poll() override {}

 private:
  MonitorState& state_;
};

}  // namespace monitor
