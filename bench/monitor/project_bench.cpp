// Projects as a user feels them, offscreen: a recent-project item opened up
// to the new caption and menus, Project > Edit shown with the controller
// list read through STDK42XX, Project > Save with the panel's 4,095-row grid
// collected, and the two lists applied to that grid after a load.
// Targets: 10 ms, 50 ms, 10 ms, 5 ms.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <string>

#include "core/main_module.h"
#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "core/panel_controls.h"
#include "platform/filenames.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"
#include "platform/menu_table.h"
#include "workbench/mdinote.h"
#include "workbench/project.h"
#include "workbench/project_lists.h"
#include "workbench/workbench.h"

namespace {

constexpr int kCodeRows = 4095;

// A loaded control panel as far as projects see it: IceView with grdProgram
// holding one row per address, Addr indexed.
class PanelStandIn : public platform::Form, public monitor::PanelControls {
 public:
  explicit PanelStandIn(monitor::MonitorState& state) : Form("IceView"), state_(state) {
    grdProgram = new platform::GridControl("grdProgram", this);
    grdProgram->SetCols(5);
    grdProgram->IndexColumn(3);
    grdProgram->BeginUpdate();
    grdProgram->SetRows(kCodeRows + 1);
    for (int row = 1; row <= kCodeRows; ++row)
      grdProgram->SetTextMatrix(row, 3, QString::asprintf("%04X", row - 1));
    grdProgram->EndUpdate();
  }
  void OnLoad() override { Attach(state_); }
  void OnUnload() override { Withdraw(); }

 private:
  monitor::MonitorState& state_;
};

class Bench {
 public:
  Bench() {
    qputenv("TAVIX_LINK_DIR", link.path().toUtf8());
    qputenv("TAVIX_REGISTRY_DIR", registry.path().toUtf8());
    platform::SetProgramPath(TAVIX_DIST_DIR);
    platform::SetEndProgramHook([] {});
    platform::SetMessageBoxHook([](const std::string&, const std::string&, unsigned style) {
      return platform::DefaultAnswer(style);
    });
    monitor::BindWorkbench(workbench);
    state.Forms.Register("IceView", platform::FormKind::MdiChild, [this] {
      panel = new PanelStandIn(state);
      return panel;
    });
    mainModule.Main();
    mainModule.StopPollLoop();
    path = files.path().toStdString() + "/demo.prj";
    state.SourceFile = files.path().toStdString() + "/main.asm";
    state.ControllerName = "QV4234";
    state.PanelSettings = "0,0,0,0";
    state.ProjectFile = path;
    monitor::WriteProjectFile(state);
  }
  ~Bench() {
    platform::SetMessageBoxHook(nullptr);
    platform::SetEndProgramHook(nullptr);
  }
  void LoadPanel() {
    state.Forms.Load("IceView");
    for (int i = 0; i < 60; ++i) {
      const int row = 1 + i * 60;
      panel->grdProgram->SetTextMatrix(row, i < 10 ? 0 : 1, "X");
    }
  }

  QTemporaryDir link, registry, files;
  monitor::MonitorState state;
  monitor::MainModule mainModule{state};
  monitor::Workbench workbench{state};
  PanelStandIn* panel = nullptr;
  std::string path;
};

void BM_OpenRecentProject(benchmark::State& run) {
  Bench bench;
  QAction* item = bench.state.MainForm()->Menu(platform::MenuItemName("mnuRecentProj", 1));
  for (auto _ : run) {
    bench.state.MainForm()->SetCaption("Tavix");
    item->trigger();
  }
  if (bench.state.ProjectFile != bench.path) run.SkipWithError("not opened");
}
BENCHMARK(BM_OpenRecentProject)->Unit(benchmark::kMicrosecond);

void BM_EditProjectShown(benchmark::State& run) {
  Bench bench;
  for (auto _ : run) {
    bench.state.MainForm()->Menu("mnuPEdit")->trigger();
    run.PauseTiming();
    bench.state.Forms.Unload("Project");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    run.ResumeTiming();
  }
}
BENCHMARK(BM_EditProjectShown)->Unit(benchmark::kMillisecond);

void BM_SaveProjectWithPanel(benchmark::State& run) {
  Bench bench;
  bench.LoadPanel();
  QAction* save = bench.state.MainForm()->Menu("mnuPSave");
  for (auto _ : run) save->trigger();
  if (bench.state.TracepointList.size() != 50 * 5 - 1) run.SkipWithError("lists not collected");
}
BENCHMARK(BM_SaveProjectWithPanel)->Unit(benchmark::kMillisecond);

void BM_ApplyListsAfterLoad(benchmark::State& run) {
  Bench bench;
  bench.LoadPanel();
  monitor::CollectBreakpoints(bench.state);
  monitor::CollectTracepoints(bench.state);
  for (auto _ : run) {
    monitor::ApplyBreakpointLine(bench.state);
    monitor::ApplyTracepointLine(bench.state);
  }
}
BENCHMARK(BM_ApplyListsAfterLoad)->Unit(benchmark::kMicrosecond);

}  // namespace
