#pragma once
// The simulated chip as the monitor's run target: execution through
// vicectrl (GoSimulator, StepSimulator), register writes through the chip
// module (WriteTargetRegister). What it has no part of does nothing, as for
// an absent target: it keeps no memory apart from the records (the chip
// reads the marks and the program from ProgramMemory, and keeps the index
// word in step with its cells itself), has no session and no link to poll.
#include "core/run_target.h"

namespace monitor {

class MonitorState;

class SimulatorTarget final : public AbsentTarget {
 public:
  explicit SimulatorTarget(MonitorState& state) : state_(state) {}

  bool Go() override;
  bool Step() override;
  void AnimateStep() override;
  void AnimateTick() override { AnimateStep(); }
  bool CanStop(bool animating) const override;
  void Stop() override;
  bool Reset(bool anyState) override;
  void WriteDataCell(int32_t address, int32_t value, int16_t watchRow) override;
  // The chip reads the watch conditions from its register cells.
  void SetWatchCompare(int32_t cell, int32_t relation, int32_t match) override;
  void SetWatchFlag(int32_t cell, int32_t mask, bool on) override;
  void ClearWatch(int32_t cell) override;

 private:
  MonitorState& state_;
};

}  // namespace monitor
