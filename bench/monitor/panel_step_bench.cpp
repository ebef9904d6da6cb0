// One Step (F8) from the control panel with everything open, as a user
// stepping through a large program sees it: QV4128 bound, a 4,095-row
// listing in the program grid with the PC row scrolled into view at each
// step, a watch window of 128 rows, the RAM window, and the trace on at
// every address. Each iteration is the key's handler and then one
// processing of pending events, so the repaint counts.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>

#include "core/monitorform.h"
#include "debug/code_load.h"
#include "debug/iceview.h"
#include "debug/watchwin.h"
#include "platform/controls.h"
#include "platform/grid_control.h"
#include "virtual_panel.h"

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

struct EverythingOpen : benchsupport::VirtualPanel {
  EverythingOpen() {
    state.MainForm()->resize(1280, 960);
    panel = dynamic_cast<monitor::IceView*>(state.Forms.Get("IceView"));
    const QString listing = folder.filePath("big.prn");
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

    // Trace on in last-instruction mode, so that it never fills.
    state.CpuState.word[k42::kTraceEnable] = -1;
    state.CpuState.word[k42::kTraceActive] = -1;
    state.CpuState.word[k42::kTraceWrap] = -1;
    state.Forms.Show(panel);
    QCoreApplication::processEvents();
  }
  void Step() {
    int key = platform::vbKeyF1 + 7;
    panel->OnKeyDown(key, 0);
  }
  monitor::IceView* panel = nullptr;
};

void BM_StepWithEverythingOpen(benchmark::State& state) {
  EverythingOpen open;
  for (auto _ : state) {
    open.Step();
    QCoreApplication::processEvents();
  }
  const auto& word = open.state.CpuState.word;
  state.counters["pc"] = word[k42::kPcStack + word[k42::kStackLevel]];
  state.counters["grid_rows"] = open.panel->grdProgram->Rows() - 2;
}
BENCHMARK(BM_StepWithEverythingOpen)->Unit(benchmark::kMillisecond)->Iterations(300)->UseRealTime();

}  // namespace
