// A listing of 4,096 code lines, with its header and some remark and label
// lines, read into the real program grid of the panel loaded offscreen:
// reading, parsing, the grid's one bulk fill and its address index together,
// and the parse alone.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "core/main_module.h"
#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "core/panel_controls.h"
#include "debug/code_load.h"
#include "debug/debug_forms.h"
#include "platform/filenames.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"
#include "platform/messagebox.h"

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

struct LoadedPanel {
  LoadedPanel() {
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
    QFile file(link.filePath("big.prn"));
    file.open(QIODevice::WriteOnly);
    for (const std::string& line : GeneratedListing()) file.write((line + "\r\n").c_str());
  }
  QTemporaryDir link, registry;
  monitor::MonitorState state;
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
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  gLoaded.reset();
  return 0;
}
