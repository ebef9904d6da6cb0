#include "panel_fixture.h"

#include <QTest>

#include "core/settings/mdl_registry.h"
#include "debug/debug_forms.h"
#include "platform/filenames.h"
#include "platform/grid_control.h"
#include "platform/messagebox.h"
#include "platform/messages.h"

namespace paneltest {

PanelTest::PanelTest() {
  setenv("TAVIX_REGISTRY_DIR", registry.path().c_str(), 1);
  platform::SetBeepHook([this] { ++beeps; });
  monitor::RegisterDebugForms(state);
}

PanelTest::~PanelTest() {
  platform::RunPump::SetScript({});
  platform::SetBeepHook({});
  // The chip module goes before the forms that host its window.
  if (state.Forms.IsLoaded("IceView")) {
    state.RunActive = 0;
    state.Forms.Unload("IceView");
  }
}

void PanelTest::StartMonitor() {
  Start();
  state.ProgramPath = TAVIX_DIST_DIR;
}

monitor::IceView* PanelTest::Virtual(const std::string& controller, const std::string& options) {
  state.ControllerName = controller;
  state.PanelSettings = options;
  Click("mnuQVVICE");
  return Panel();
}

monitor::IceView* PanelTest::Panel() const {
  return dynamic_cast<monitor::IceView*>(state.Forms.Get("IceView"));
}

monitor::Display* PanelTest::Host() const {
  return dynamic_cast<monitor::Display*>(state.Forms.Get("Display"));
}

void PanelTest::LoadProgram(const std::vector<uint16_t>& words) {
  platform::GridControl& grid = *Panel()->grdProgram;
  grid.BeginUpdate();
  grid.SetRows(static_cast<int>(words.size()) + 2);
  for (size_t i = 0; i < words.size(); ++i) {
    state.ProgramMemory[i].instr = words[i];
    const int row = static_cast<int>(i) + 1;
    grid.SetTextMatrix(row, 2, QString::number(row));
    grid.SetTextMatrix(row, 3, QString::asprintf("%04X", static_cast<unsigned>(i)));
    grid.SetTextMatrix(row, 4, QString::asprintf("%04X", words[i]));
  }
  grid.EndUpdate();
}

void PanelTest::Key(int qtKey, int modifiers) {
  QTest::keyClick(Panel()->grdProgram, static_cast<Qt::Key>(qtKey),
                  static_cast<Qt::KeyboardModifiers>(modifiers));
}

int32_t PanelTest::Pc() const {
  return state.CpuState.word[k42::kPcStack + state.CpuState.word[k42::kStackLevel]];
}

int32_t CodeWindowNumber(const char* name) {
  return monitor::RegGetSetting(platform::HKEY_CURRENT_USER, monitor::kCodeWindowKey, name)
      .AsNumber();
}

}  // namespace paneltest
