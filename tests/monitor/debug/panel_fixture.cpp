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
  SizeArea({1280, 1024});
  state.ProgramPath = TAVIX_DIST_DIR;
}

void PanelTest::SizeArea(QSize area) const {
  state.MainForm()->resize(state.MainForm()->size() + area - state.MainForm()->Area()->size());
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

platform::GridControl& LoadWatchStandIn(monitor::MonitorState& state,
                                        const std::vector<std::array<const char*, 8>>& rows) {
  platform::GridControl* grid = nullptr;
  state.Forms.Register("Watchwin", platform::FormKind::MdiChild, [&grid] {
    auto* form = new platform::Form("Watchwin");
    form->SetCaption("Watch");
    grid = new platform::GridControl("grdData", form);
    grid->SetCols(8);
    return form;
  });
  platform::Form* form = state.Forms.Load("Watchwin");
  monitor::WatchList& watch = state.Watch;
  QObject::connect(form, &QObject::destroyed, [&watch] { watch.DrawWatch = nullptr; });
  watch.rows.clear();
  for (const auto& row : rows)
    watch.rows.push_back({row[0], row[1], row[2], row[3], row[4], row[5], row[6], row[7]});
  watch.rows.emplace_back();
  watch.DrawWatch = [&watch, grid] {
    grid->SetRows(watch.Count() + 1);
    for (int row = 1; row <= watch.Count(); ++row) {
      const monitor::WatchRow& shown = *watch.Row(row);
      const QString cells[] = {shown.label, shown.address, shown.data, shown.read,
                               shown.write, shown.io,      shown.rel,  shown.match};
      for (int col = 0; col < 8; ++col) grid->SetTextMatrix(row, col, cells[col]);
    }
    grid->SetRow(watch.current);
  };
  watch.current = 1;
  watch.DrawWatch();
  return *grid;
}

int32_t CodeWindowNumber(const char* name) {
  return monitor::RegGetSetting(platform::HKEY_CURRENT_USER, monitor::kCodeWindowKey, name)
      .AsNumber();
}

}  // namespace paneltest
