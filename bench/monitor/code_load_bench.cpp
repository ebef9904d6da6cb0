// A listing of 4,096 code lines, with its header and some remark and label
// lines, read into the real program grid of the panel loaded offscreen:
// reading, parsing, the grid's one bulk fill and its address index together,
// and the parse alone.
#include <benchmark/benchmark.h>

#include <QFile>
#include <memory>

#include "core/monitor_state.h"
#include "core/panel_controls.h"
#include "debug/code_load.h"
#include "loaded_panel.h"
#include "platform/grid_control.h"

namespace {

std::vector<std::string> GeneratedListing() {
  std::vector<std::string> lines(14, ";      Key = value.");
  for (int i = 0; i < 4096; ++i) {
    if (i % 16 == 0) lines.push_back(std::string(16, ' ') + " : ; block " + std::to_string(i));
    if (i % 8 == 0) lines.push_back(std::string(16, ' ') + " : L" + std::to_string(i) + ":");
    lines.push_back(QString::asprintf("%06d %04X %04X :         LDI %d        ; step %d", i + 1,
                                      i & 0xFFF, 0xF800 | (i & 0xFF), i & 15, i)
                        .toStdString());
  }
  return lines;
}

// The panel with a generated listing beside it.
struct LoadedPanel : benchpanel::LoadedPanel {
  LoadedPanel() {
    QFile file(link.filePath("big.prn"));
    file.open(QIODevice::WriteOnly);
    for (const std::string& line : GeneratedListing()) file.write((line + "\r\n").c_str());
  }
};

std::unique_ptr<LoadedPanel> gLoaded;

void BM_ListingIntoTheProgramGrid(benchmark::State& state) {
  if (!gLoaded) gLoaded = std::make_unique<LoadedPanel>();
  const std::string path = gLoaded->link.filePath("big.prn").toStdString();
  for (auto _ : state) monitor::LoadDebugInfo(gLoaded->state, path);
  auto* panel = dynamic_cast<monitor::PanelControls*>(gLoaded->state.Forms.Get("IceView"));
  state.counters["rows"] = panel != nullptr ? panel->grdProgram->Rows() - 1 : 0;
}
BENCHMARK(BM_ListingIntoTheProgramGrid)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_ListingParseOnly(benchmark::State& state) {
  const std::vector<std::string> lines = GeneratedListing();
  for (auto _ : state) benchmark::DoNotOptimize(monitor::LoadDebugInfo(lines));
}
BENCHMARK(BM_ListingParseOnly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return benchpanel::RunOffscreen(argc, argv, [] { gLoaded.reset(); });
}
