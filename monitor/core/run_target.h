#pragma once
// The target the monitor runs and inspects: the simulated chip behind
// STDK42XX (simulator_target.h) or the in-circuit emulator behind its link and
// session (emulator/emulator_target.h). The commands are written once over
// this interface; MonitorState::ActiveTarget() gives the one TargetState
// names. Each operation is implemented by the procedures of its target's
// own name (GoSimulator, HardwareGo, ...), which a reader follows from here.
// Every target implements every operation itself, saying what it does where
// it has no part (absent_target.h stands in while no emulator is bound).
#include <cstdint>
#include <vector>

namespace monitor {

class PanelControls;

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
  // The control panel's load and unload, in the order the panel calls
  // them. Open as the load begins: the simulator binds the project's
  // controller (false when no chip module takes it, the refusal told and
  // SimulationRefused set: the load goes no further); the emulator reads
  // its link's settings and opens its port. Connect once the panel's
  // controls are set up: the emulator's session opens (Disconnect closes
  // it); nothing for a target without one. ShowPeriphery once the panel's
  // displays are drawn: the simulated chip's periphery window into the
  // panel's host. Close first in the unload: the chip's options back to the
  // project the panel was opened for, its module and window unloaded.
  // Release last: whatever runs is asked to stop.
  virtual bool Open(PanelControls& panel) = 0;
  virtual void Connect() = 0;
  virtual void Disconnect() = 0;
  virtual void ShowPeriphery(PanelControls& panel) = 0;
  virtual void Close(PanelControls& panel) = 0;
  virtual void Release() = 0;
  // A program loaded into the panel: the simulated chip is reset to run it;
  // the emulator takes it with the download.
  virtual void AfterCodeLoad() = 0;
  // The panel's port options changed: sent at once when the target takes
  // them while it runs.
  virtual void SendCommandBits() = 0;

  // A data cell's new value (0..15) from a window; `watchRow` is the watch
  // row whose condition goes with it (0 for none). Then the target's own
  // follow-up once a window wrote a cell.
  virtual void WriteDataCell(int32_t address, int32_t value, int16_t watchRow) = 0;
  virtual void AfterCellWrite(int32_t address) = 0;
  // The target's own copy of the data memory, where it keeps one apart from
  // MonitorState::RegisterFile: 3-byte units from cell `firstCell` on into
  // the cells' values or into their watch conditions, and the values of
  // cells 0..count-1 read back (empty when it refuses or keeps none).
  virtual void WriteDataCells(int32_t firstCell, const std::vector<uint8_t>& units) = 0;
  virtual void WriteConditions(int32_t firstCell, const std::vector<uint8_t>& units) = 0;
  virtual std::vector<uint8_t> ReadDataCells(int32_t count) = 0;
  // The target's own trace memory: `count` records (3 bytes each) from
  // record `first` on read, or cleared.
  virtual std::vector<uint8_t> ReadTrace(int32_t first, int32_t count) = 0;
  virtual void ClearTrace(int32_t first, int32_t count) = 0;
  // One program cell's word with its mark bits, sent where the target keeps
  // the program apart from ProgramMemory; MarkProgramCell is the command
  // that builds it after a mark changed.
  virtual void SendProgramCell(int32_t address, int32_t unit) = 0;
  virtual void MarkProgramCell(int32_t address) = 0;

  // The watch window's edits of a cell's condition: the relation and match
  // of `cell`, a break flag (`mask`) on or off, the cell dropped from the
  // watch.
  virtual void SetWatchCompare(int32_t cell, int32_t relation, int32_t match) = 0;
  virtual void SetWatchFlag(int32_t cell, int32_t mask, bool on) = 0;
  virtual void ClearWatch(int32_t cell) = 0;

  // The loaded program into the target.
  virtual void DownloadCode() = 0;
  // One pass of the poll loop: a halted target's state read back, a failed
  // link recovered.
  virtual void Poll() = 0;
};

}  // namespace monitor
