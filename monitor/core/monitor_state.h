#pragma once
// The monitor-wide state: one object, made by Main and handed to every
// subsystem (tests make a fresh one each). Integers keep the 16-bit widths of
// the flags, with -1 for true. Later subsystems add the fields they own here.
#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/link_state.h"
#include "core/run_target.h"
#include "core/services.h"
#include "core/status_text.h"
#include "core/target_interface.h"
#include "core/target_state.h"
#include "core/watch_list.h"
#include "k42target.h"
#include "platform/forms.h"

namespace monitor {

class Monitorform;
class PanelControls;

struct EditorSlotRecord {
  int16_t Free = -1;
  int16_t Changed = 0;
};

class MonitorState {
 public:
  static constexpr int kRegisterCells = 128;

  MonitorState();
  ~MonitorState();
  MonitorState(const MonitorState&) = delete;
  MonitorState& operator=(const MonitorState&) = delete;

  // Target selection (0 at creation) and the emulator link's state
  // (link_state.h).
  int16_t TargetState = 0;
  int16_t LinkState = kLinkNotSetUp;

  int16_t RunActive = 0;
  int16_t SimulationRefused = 0;
  int16_t HostCloseAllowed = 0;
  int16_t PanelLoaded = 0;
  int16_t ProjectModified = 0;
  // The answer to the project question asked by the main window's close in
  // progress (0 when that close asked none).
  int16_t CloseAnswer = 0;
  int16_t CpuStateDirty = 0;
  int16_t SimulatorBusy = 0;
  int16_t TraceStartIndex = 0;
  // 1: the emulator link sends byte by byte, paced by every handshake line.
  int16_t LinkBuffered = 0;
  // The key that closed the last in-place editor of the watch or RAM window
  // (13 Enter, 27 Escape).
  int16_t LastEditKey = 0;
  std::array<int16_t, 11> CommandBitMode{};
  std::array<int16_t, 11> CommandBitValue{};

  // The program folder with a trailing "/".
  std::string ProgramPath;
  // STDK42XX, bound from ProgramPath at its first call.
  TargetInterface Target{ProgramPath};

  // The target records, alive for the process.
  ::CpuState CpuState{};
  std::vector<ProgramCell> ProgramMemory;
  std::vector<RegisterCell> RegisterFile;
  std::vector<TraceEntry> TraceBuffer;

  // The data-memory range the emulator's cells are moved in (the connect
  // and the watch window set 0 and 127).
  uint16_t DataLower = 0, DataUpper = 0;
  // The watch window's rows, as the core reads them.
  WatchList Watch;
  // The symbol the last operand double-click found ("" when none).
  std::string LastSymbolName, LastSymbolValue;
  // The program addresses the last code load took a word for from the listing.
  std::bitset<k42::kProgramCells> ListedAddresses;

  // The project.
  std::string ProjectFile, SourceFile, IncludePath, OutputPath, ControllerName;
  std::string BreakpointList, TracepointList, PanelSettings;
  // Changes whenever another project, or none, becomes the current one.
  uint32_t ProjectSerial = 0;
  // Words of the last clean build, as its "Prog-Size=" line reported them.
  int16_t ProgramSize = 0;

  // Editor slots; index 0 is never a real editor.
  std::vector<EditorSlotRecord> EditorSlot;

  // The target the commands go to: the simulator in kSimulator, else the
  // in-circuit emulator (a target that takes no command while none is bound).
  RunTarget& ActiveTarget() { return TargetState == kSimulator ? Simulator() : *emulator_; }
  RunTarget& Emulator() { return *emulator_; }
  // The simulated chip's target, made at its first use beside its code
  // (simulator_target.cpp).
  RunTarget& Simulator();
  // The emulator's target, installed by its binding.
  void InstallEmulator(std::unique_ptr<RunTarget> emulator);
  // One pass of the poll loop over both targets, whichever is active: a
  // halted emulator's state is read back, a failed link recovers.
  void PollTargets();

  platform::FormManager Forms;
  // The control panel while it is loaded: it attaches itself (Panel reads it).
  PanelControls* LoadedPanel = nullptr;
  Services Seams;
  StatusText Status;

  // The main window while it is loaded.
  Monitorform* MainForm() const;

 private:
  std::unique_ptr<RunTarget> simulator_;
  std::unique_ptr<RunTarget> emulator_;
};

// Every form name of the system, and the forms of the monitor core (defined
// beside the main window, whose factory it registers).
void DeclareMonitorForms(MonitorState& state);

// The control panel's options taken back at its unload: kept, and the
// project changed, only when the project it was opened for (ProjectSerial
// at its load) is still the current one. True when kept.
bool StorePanelOptions(MonitorState& state, uint32_t serialAtLoad, const std::string& options);

}  // namespace monitor
