#include "core/monitor_state.h"

#include "core/absent_target.h"

namespace monitor {

MonitorState::MonitorState()
    : ProgramMemory(k42::kProgramCells),
      RegisterFile(kRegisterCells),
      TraceBuffer(k42::kTraceEntries),
      emulator_(std::make_unique<AbsentTarget>()) {
  for (TraceEntry& entry : TraceBuffer) entry.pc = -1;
  DeclareMonitorForms(*this);
}

MonitorState::~MonitorState() {
  // Forms still loaded go with the state; the frame takes its children.
  std::vector<platform::Form*> loaded;
  for (platform::Form* form : Forms.Loaded()) loaded.push_back(form);
  Forms.SetFrame(nullptr);
  for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) {
    if (platform::Form* form = Forms.Get((*it)->Name())) delete form->Outer();
  }
}

void MonitorState::InstallEmulator(std::unique_ptr<RunTarget> emulator) {
  emulator_ = emulator ? std::move(emulator) : std::make_unique<AbsentTarget>();
}

void MonitorState::PollTargets() {
  Simulator().Poll();
  emulator_->Poll();
}

bool StorePanelOptions(MonitorState& state, uint32_t serialAtLoad, const std::string& options) {
  if (state.ProjectSerial != serialAtLoad) return false;
  state.PanelSettings = options;
  state.ProjectModified = -1;
  return true;
}

}  // namespace monitor
