// The watch window with every register cell watched (128 rows and the entry
// row) on the panel loaded offscreen in simulation, the window maximized in a
// 1280 x 1024 frame: RefreshWatchWindow alone, and followed by one processing
// of pending events, so that the repaint of the rows shown counts. Every
// refresh finds new values in the cells.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "core/view.h"
#include "debug/watchwin.h"
#include "loaded_panel.h"
#include "platform/grid_control.h"

namespace {

struct WatchedPanel : benchpanel::LoadedPanel {
  WatchedPanel() {
    watch = dynamic_cast<monitor::Watchwin*>(state.Forms.Get("Watchwin"));
    if (watch == nullptr) return;
    state.MainForm()->resize(1280, 1024);
    state.Forms.Show(watch);
    monitor::WatchList& list = state.Watch;
    list.rows.clear();
    for (int cell = 0; cell < monitor::MonitorState::kRegisterCells; ++cell) {
      const QString address = QString::asprintf("%04X", cell);
      list.rows.push_back({"Addr" + address, address});
    }
    list.rows.emplace_back();  // the entry row
    list.DrawWatch();
    QCoreApplication::processEvents();
  }
  // New values in every cell, so that every Data text changes.
  void Change() {
    ++round;
    for (int cell = 0; cell < monitor::MonitorState::kRegisterCells; ++cell)
      state.RegisterFile[static_cast<size_t>(cell)].value = (cell + round) & 15;
  }

  monitor::Watchwin* watch = nullptr;
  int round = 0;
};

std::unique_ptr<WatchedPanel> gPanel;

WatchedPanel* Panel(benchmark::State& state) {
  if (!gPanel) gPanel = std::make_unique<WatchedPanel>();
  if (gPanel->watch == nullptr) state.SkipWithError("the watch window did not load");
  return gPanel.get();
}

// Each iteration: new cell values (untimed), the refresh, and with `repaint`
// one processing of the events it left, which paints the changed rows.
void Refresh(benchmark::State& state, bool repaint) {
  WatchedPanel* panel = Panel(state);
  for (auto _ : state) {
    state.PauseTiming();
    panel->Change();
    state.ResumeTiming();
    monitor::RefreshWatchWindow(panel->state);
    if (repaint) QCoreApplication::processEvents();
  }
  QCoreApplication::processEvents();
  if (panel->watch == nullptr) return;
  // The watch rows on screen, which each repaint draws.
  const platform::GridControl& grid = *panel->watch->grdData;
  const int bottom = grid.rowAt(grid.viewport()->height() - 1);
  state.counters["rows_shown"] = grid.isVisible() ? (bottom < 0 ? grid.Rows() - 1 : bottom + 1) : 0;
}

void BM_RefreshWatchWindow(benchmark::State& state) {
  Refresh(state, false);
}
BENCHMARK(BM_RefreshWatchWindow)->Unit(benchmark::kMicrosecond);

void BM_RefreshWatchWindowAndRepaint(benchmark::State& state) {
  Refresh(state, true);
}
BENCHMARK(BM_RefreshWatchWindowAndRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return benchpanel::RunOffscreen(argc, argv, [] { gPanel.reset(); });
}
