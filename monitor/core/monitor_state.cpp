#include "core/monitor_state.h"

#include <QTimer>

#include "core/emulator_link.h"
#include "core/monitorform.h"

namespace monitor {

MonitorState::MonitorState()
    : ProgramMemory(kProgramCells), RegisterFile(kRegisterCells), TraceBuffer(kTraceEntries) {
  for (TraceEntry& entry : TraceBuffer) entry.pc = -1;
  DeclareMonitorForms(*this);
}

MonitorState::~MonitorState() {
  PollTimer.reset();
  // Forms still loaded go with the state; the frame takes its children.
  std::vector<platform::Form*> loaded;
  for (platform::Form* form : Forms.Loaded()) loaded.push_back(form);
  Forms.SetFrame(nullptr);
  for (auto it = loaded.rbegin(); it != loaded.rend(); ++it) {
    if (platform::Form* form = Forms.Get((*it)->Name())) delete form->Outer();
  }
}

Monitorform* MonitorState::MainForm() const {
  return dynamic_cast<Monitorform*>(Forms.Get("Monitorform"));
}

bool StorePanelOptions(MonitorState& state, uint32_t serialAtLoad, const std::string& options) {
  if (state.ProjectSerial != serialAtLoad) return false;
  state.PanelSettings = options;
  state.ProjectModified = -1;
  return true;
}

void DeclareMonitorForms(MonitorState& state) {
  using platform::FormKind;
  platform::FormManager& forms = state.Forms;
  forms.Register("Monitorform", FormKind::Frame, [&state] { return new Monitorform(state); });
  for (const char* name : {"IceView", "Display", "Watchwin", "RAMWin", "Tracewin", "BuildOut",
                           "frmNotePad", "Pelto"}) {
    forms.Declare(name, FormKind::MdiChild);
  }
  for (const char* name : {"FormFind", "FormGoLabel", "transferwin", "frmAbout", "frmTip",
                           "Project", "Dissassamble_params", "MTP", "MTPCOMM_FORM"}) {
    forms.Declare(name, FormKind::Dialog);
  }
}

}  // namespace monitor
