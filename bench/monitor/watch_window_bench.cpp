// The watch window with every register cell watched (128 rows and the entry
// row) on the panel loaded offscreen in simulation, the window maximized in a
// 1280 x 1024 frame: RefreshWatchWindow alone, and followed by one processing
// of pending events, so that the repaint of the rows shown counts. Every
// refresh finds new values in the cells.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <memory>

#include "core/main_module.h"
#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "core/view.h"
#include "debug/debug_forms.h"
#include "debug/watchwin.h"
#include "platform/filenames.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"
#include "platform/messagebox.h"

namespace {

struct WatchedPanel {
  WatchedPanel() {
    qputenv("TAVIX_LINK_DIR", link.path().toUtf8());
    qputenv("TAVIX_REGISTRY_DIR", registry.path().toUtf8());
    platform::SetEndProgramHook([] {});
    platform::SetMessageBoxHook([](const std::string& text, const std::string&, unsigned) {
      fprintf(stderr, "box: %s\n", text.c_str());
      return 1;
    });
    platform::SetProgramPath(TAVIX_DIST_DIR);
    monitor::RegisterDebugForms(state);
    monitor::Main(state);
    state.PollTimer->stop();
    state.ProgramPath = TAVIX_DIST_DIR;
    state.ControllerName = "QV4128";
    state.MainForm()->Command("mnuQVVICE", -1);
    watch = dynamic_cast<monitor::Watchwin*>(state.Forms.Get("Watchwin"));
    if (watch == nullptr) return;
    state.MainForm()->resize(1280, 1024);
    state.Forms.Show(watch);
    platform::GridControl& grid = *watch->grdData;
    grid.BeginUpdate();
    grid.SetRows(monitor::MonitorState::kRegisterCells + 2);
    for (int cell = 0; cell < monitor::MonitorState::kRegisterCells; ++cell) {
      const QString address = QString::asprintf("%04X", cell);
      grid.SetTextMatrix(cell + 1, monitor::Watchwin::kLabel, "Addr" + address);
      grid.SetTextMatrix(cell + 1, monitor::Watchwin::kAddr, address);
    }
    grid.EndUpdate();
    QCoreApplication::processEvents();
  }
  // New values in every cell, so that every Data text changes.
  void Change() {
    ++round;
    for (int cell = 0; cell < monitor::MonitorState::kRegisterCells; ++cell)
      state.RegisterFile[static_cast<size_t>(cell)].value = (cell + round) & 15;
  }

  QTemporaryDir link, registry;
  monitor::MonitorState state;
  monitor::Watchwin* watch = nullptr;
  int round = 0;
};

std::unique_ptr<WatchedPanel> gPanel;

WatchedPanel* Panel(benchmark::State& state) {
  if (!gPanel) gPanel = std::make_unique<WatchedPanel>();
  if (gPanel->watch == nullptr) state.SkipWithError("the watch window did not load");
  return gPanel.get();
}

void BM_RefreshWatchWindow(benchmark::State& state) {
  WatchedPanel* panel = Panel(state);
  for (auto _ : state) {
    state.PauseTiming();
    panel->Change();
    state.ResumeTiming();
    monitor::RefreshWatchWindow(panel->state);
  }
  QCoreApplication::processEvents();
}
BENCHMARK(BM_RefreshWatchWindow)->Unit(benchmark::kMicrosecond);

void BM_RefreshWatchWindowAndRepaint(benchmark::State& state) {
  WatchedPanel* panel = Panel(state);
  for (auto _ : state) {
    state.PauseTiming();
    panel->Change();
    state.ResumeTiming();
    monitor::RefreshWatchWindow(panel->state);
    QCoreApplication::processEvents();
  }
  // The watch rows on screen, which each repaint draws.
  const platform::GridControl& grid = *panel->watch->grdData;
  const int bottom = grid.rowAt(grid.viewport()->height() - 1);
  state.counters["rows_shown"] = grid.isVisible() ? (bottom < 0 ? grid.Rows() - 1 : bottom + 1) : 0;
}
BENCHMARK(BM_RefreshWatchWindowAndRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  gPanel.reset();
  return 0;
}
