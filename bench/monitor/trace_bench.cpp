// The trace window offscreen over a 4,096-row program grid, every one of the
// 8,192 records on a listed address: the poll's page refresh, scrolling page
// by page, RESET, and saving the trace file. Each case includes one
// processing of pending events, so the repaint counts.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "core/code_grid.h"
#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "debug/code_load.h"
#include "debug/tracewin.h"
#include "loaded_panel.h"
#include "platform/hooks.h"

namespace {

struct TraceSetup : benchpanel::LoadedPanel {
  TraceSetup() {
    state.MainForm()->resize(1200, 900);
    std::vector<std::string> lines(14, ";      Key = value.");
    for (int i = 0; i < 4095; ++i) {
      if (i % 8 == 0) lines.push_back(std::string(16, ' ') + " : L" + std::to_string(i) + ":");
      lines.push_back(QString::asprintf("%06d %04X %04X :         LDI %d        ; step %d", i + 1,
                                        i, 0xF800 | (i & 0xFF), i & 15, i)
                          .toStdString());
    }
    const std::string listing = link.filePath("big.prn").toStdString();
    QFile file(QString::fromStdString(listing));
    file.open(QIODevice::WriteOnly);
    for (const std::string& line : lines) file.write((line + "\r\n").c_str());
    file.close();
    monitor::LoadDebugInfo(state, listing);
    monitor::LoadTraceWindow(state);
    window = dynamic_cast<monitor::Tracewin*>(state.Forms.Get("Tracewin"));
    // About 40 rows on the page.
    window->SetWindowState(0);
    const int line = QFontMetrics(window->Traceout->font()).lineSpacing();
    window->Outer()->resize(900, window->Outer()->height() - window->Traceout->height() + line * 44);
    QApplication::processEvents();
    Fill();
  }
  void Fill() {
    for (int i = 0; i < k42::kTraceEntries; ++i)
      state.TraceBuffer[static_cast<size_t>(i)] = {i % 4095, i & 15, i & 7};
    state.CpuState.word[k42::kTraceActive] = -1;
    state.CpuState.word[k42::kTraceIndex] = 8000;
  }
  monitor::Tracewin* window = nullptr;
};

std::unique_ptr<TraceSetup> gSetup;

TraceSetup& Setup() {
  if (!gSetup) gSetup = std::make_unique<TraceSetup>();
  return *gSetup;
}

void BM_TracePageRefresh(benchmark::State& state) {
  TraceSetup& setup = Setup();
  setup.Fill();
  int index = 4000;
  for (auto _ : state) {
    // A step later: the newest record moved on, so the page changes.
    setup.state.CpuState.word[k42::kTraceIndex] = index = index % 8000 + 1;
    setup.state.Seams.debug.UpdateTraceWindow();
    QApplication::processEvents();
  }
  state.counters["rows"] = setup.window->Trace.TraceVisibleLines + 1;
}
BENCHMARK(BM_TracePageRefresh)->Unit(benchmark::kMillisecond);

void BM_TraceScrollPage(benchmark::State& state) {
  TraceSetup& setup = Setup();
  setup.Fill();
  int value = 0;
  for (auto _ : state) {
    value = (value + setup.window->VScroll1->pageStep()) % 8000;
    setup.window->VScroll1->setValue(value);
    QApplication::processEvents();
  }
}
BENCHMARK(BM_TraceScrollPage)->Unit(benchmark::kMillisecond);

void BM_TraceReset(benchmark::State& state) {
  TraceSetup& setup = Setup();
  for (auto _ : state) {
    setup.window->Resetbtn->click();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_TraceReset)->Unit(benchmark::kMillisecond);

void BM_TraceSave(benchmark::State& state) {
  TraceSetup& setup = Setup();
  setup.Fill();
  const std::string path = setup.link.filePath("run.trc").toStdString();
  platform::SetDialogHook([&path](platform::CommonDialog& dialog, platform::CommonDialog::Action) {
    dialog.FileName = path;
    return true;
  });
  for (auto _ : state) {
    setup.window->SaveTraceToFile();
    QApplication::processEvents();
  }
  platform::SetDialogHook(nullptr);
  state.counters["bytes"] = static_cast<double>(QFile(QString::fromStdString(path)).size());
  state.counters["listed"] = monitor::FindCodeRow(setup.state, 5);
}
BENCHMARK(BM_TraceSave)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return benchpanel::RunOffscreen(argc, argv, [] { gSetup.reset(); });
}
