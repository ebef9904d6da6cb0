#pragma once
// The target the monitor runs and inspects: the simulated chip behind
// STDK42XX (simulator_target.h) or the in-circuit emulator behind its link and
// session (emulator/emulator_target.h). The commands are written once over
// this interface; MonitorState::ActiveTarget() gives the one TargetState
// names. Each operation is implemented by the procedures of its target's
// own name (GoSimulator, HardwareGo, ...), which a reader follows from here.
#include <cstdint>
#include <vector>

namespace monitor {

class RunTarget {
 public:
  virtual ~RunTarget() = default;

  // Runs until a stop. True when the run has ended within the call (the
  // simulator, with the stop shown); false when the target runs on and its
  // stop arrives later through the poll step (the emulator).
  virtual bool Go() = 0;
  // One instruction, shown with the program counter's row and the trace;
  // true when it has ended within the call, as Go.
  virtual bool Step() = 0;
  // The animation's first step and each tick of its timer; a tick that the
  // target cannot take now is skipped, so steps never pile up.
  virtual void AnimateStep() = 0;
  virtual void AnimateTick() = 0;
  // True when a stop has something to end while `animating` tells whether
  // the animation runs.
  virtual bool CanStop(bool animating) const = 0;
  virtual void Stop() = 0;
  // The panel's reset: the simulated chip through its module; the
  // emulator's CPU words cleared while it is halted, or in any session
  // state with `anyState`. False when the target took none.
  virtual bool Reset(bool anyState) = 0;
  // The control panel closes: whatever runs is asked to stop.
  virtual void Release() = 0;

  // The session the control panel opens: the settings read, the connect,
  // the disconnect. Nothing for a target without one.
  virtual void LoadSettings() = 0;
  virtual void Connect() = 0;
  virtual void Disconnect() = 0;
  // The panel's port options changed: sent at once when the target takes
  // them while it runs.
  virtual void SendCommandBits() = 0;

  // A data cell's new value (0..15) from a window; `watchRow` is the watch
  // row whose condition goes with it (0 for none). Then the target's own
  // follow-up once a window wrote a cell.
  virtual void WriteDataCell(int32_t address, int32_t value, int16_t watchRow) = 0;
  virtual void AfterCellWrite(int32_t address) = 0;
  // Units of 3 bytes written to, or `count` units read from, the target's
  // memory at a unit address: false or empty when it refuses or has no such
  // memory.
  virtual bool WriteMemory(int32_t address, const std::vector<uint8_t>& units) = 0;
  virtual std::vector<uint8_t> ReadMemory(int32_t address, int32_t count) = 0;
  // A program cell's marks changed: sent again where the target keeps them
  // apart from ProgramMemory.
  virtual void MarkProgramCell(int32_t address) = 0;
  // The loaded program into the target.
  virtual void DownloadCode() = 0;
  // One pass of the poll loop: a halted target's state read back, a failed
  // link recovered.
  virtual void Poll() = 0;
};

// A target that takes no command: the emulator's place while none is bound.
class AbsentTarget : public RunTarget {
 public:
  bool Go() override { return false; }
  bool Step() override { return false; }
  void AnimateStep() override {}
  void AnimateTick() override {}
  bool CanStop(bool) const override { return true; }
  void Stop() override {}
  bool Reset(bool) override { return false; }
  void Release() override {}
  void LoadSettings() override {}
  void Connect() override {}
  void Disconnect() override {}
  void SendCommandBits() override {}
  void WriteDataCell(int32_t, int32_t, int16_t) override {}
  void AfterCellWrite(int32_t) override {}
  bool WriteMemory(int32_t, const std::vector<uint8_t>&) override { return false; }
  std::vector<uint8_t> ReadMemory(int32_t, int32_t) override { return {}; }
  void MarkProgramCell(int32_t) override {}
  void DownloadCode() override {}
  void Poll() override {}
};

}  // namespace monitor
