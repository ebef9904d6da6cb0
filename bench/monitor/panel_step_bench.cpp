// One Step (F8) from the control panel with everything open, as a user
// stepping through a large program sees it: QV4128 bound, a 4,095-row
// listing in the program grid with the PC row scrolled into view at each
// step, a watch window of 128 rows, the RAM window, and the trace on at
// every address with the trace window open; the four windows tiled so that
// each of them repaints. Each iteration is the key's handler and then one
// processing of pending events, so the repaint counts.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <memory>

#include "core/monitorform.h"
#include "debug/code_load.h"
#include "debug/iceview.h"
#include "debug/tracewin.h"
#include "debug/watchwin.h"
#include "loaded_panel.h"
#include "platform/controls.h"
#include "platform/grid_control.h"

namespace {

constexpr int kRows = 4095;

// NOPs from 0 with a jump back to 0 at the last row.
void WriteListing(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return;
  for (int i = 0; i < 14; ++i) file.write(";      Key = value.\r\n");
  for (int i = 0; i < kRows; ++i) {
    const bool last = i == kRows - 1;
    file.write(QString::asprintf("%06d %04X %04X : L%d:    %s      ; row %d\r\n", i + 1, i,
                                 last ? 0 : 0xF0FF, i, last ? "JMP L0" : "NOP", i)
                   .toLatin1());
  }
}

struct EverythingOpen : benchpanel::LoadedPanel {
  EverythingOpen() {
    state.MainForm()->resize(1280, 960);
    const QString listing = link.filePath("big.prn");
    WriteListing(listing);
    monitor::LoadDebugInfo(state, listing.toStdString());
    for (auto& cell : state.ProgramMemory) cell.flags = k42::kCellTracePoint;

    // Every register watched.
    auto* watch = dynamic_cast<monitor::Watchwin*>(state.Forms.Get("Watchwin"));
    platform::GridControl& data = *watch->grdData;
    data.SetRows(128 + 2);
    for (int n = 0; n < 128; ++n) {
      data.SetTextMatrix(n + 1, monitor::Watchwin::kLabel, QString::asprintf("Addr%02X", n));
      data.SetTextMatrix(n + 1, monitor::Watchwin::kAddr, QString::asprintf("%04X", n));
    }

    // Trace on, as the panel's trace switch leaves it, in last-instruction
    // mode so that it never fills.
    panel->trcimg->onMouseDown(1, 0, 0, 0);
    panel->trcimg->onMouseUp(1, 0, 0, 0);
    state.CpuState.word[k42::kTraceWrap] = -1;
    for (const char* name : {"IceView", "Watchwin", "RAMWin", "Tracewin"}) {
      if (platform::Form* form = state.Forms.Get(name)) form->SetWindowState(0);
    }
    state.MainForm()->Arrange(platform::MdiFrame::kTileHorizontal);
    state.Forms.Show(panel);
    QApplication::processEvents();
  }
  void Step() {
    int key = platform::vbKeyF1 + 7;
    panel->OnKeyDown(key, 0);
  }
};

std::unique_ptr<EverythingOpen> gOpen;

void BM_StepWithEverythingOpen(benchmark::State& state) {
  if (!gOpen) gOpen = std::make_unique<EverythingOpen>();
  EverythingOpen& open = *gOpen;
  for (auto _ : state) {
    open.Step();
    QApplication::processEvents();
  }
  const auto& word = open.state.CpuState.word;
  state.counters["pc"] = word[k42::kPcStack + word[k42::kStackLevel]];
  state.counters["trace_index"] = word[k42::kTraceIndex];
  state.counters["trace_window"] = open.state.Forms.IsLoaded("Tracewin") ? 1 : 0;
  state.counters["grid_rows"] = open.panel->grdProgram->Rows() - 2;
}
BENCHMARK(BM_StepWithEverythingOpen)->Unit(benchmark::kMillisecond)->Iterations(300)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return benchpanel::RunOffscreen(argc, argv, [] { gOpen.reset(); });
}
