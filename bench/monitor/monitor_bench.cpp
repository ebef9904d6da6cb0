// The monitor's speed: start to an idle main window (the real program), one
// idle poll step, and the grid's bulk fill of a program listing.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "core/main_module.h"
#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"

namespace {

// Process start to the first idle poll step: the program closes its main
// window at that step (TAVIX_QUIT_WHEN_IDLE) and ends. Target under 1 s.
void BM_StartToIdle(benchmark::State& state) {
  QTemporaryDir link;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("TAVIX_UNATTENDED", "1");
  env.insert("TAVIX_QUIT_WHEN_IDLE", "1");
  env.insert("TAVIX_LINK_DIR", link.path());
  for (auto _ : state) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(TAVIX_DIST_DIR "Tavix", {});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
      state.SkipWithError("Tavix did not end cleanly");
      break;
    }
  }
}
BENCHMARK(BM_StartToIdle)->Unit(benchmark::kMillisecond)->Iterations(10);

// One idle PollStep with the main window loaded and nothing pending. Target
// under 1 ms.
void BM_IdlePollStep(benchmark::State& state) {
  QTemporaryDir link;
  qputenv("TAVIX_LINK_DIR", link.path().toUtf8());
  platform::SetEndProgramHook([] {});
  {
    monitor::MonitorState monitorState;
    monitor::MainModule mainModule(monitorState);
    mainModule.Main();
    QCoreApplication::processEvents();
    mainModule.StopPollLoop();
    for (auto _ : state) monitor::PollStep(monitorState);
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
BENCHMARK(BM_IdlePollStep)->Unit(benchmark::kMicrosecond);

// 4,096 rows of 9 columns into the grid in one update, shown.
void BM_GridBulkFill(benchmark::State& state) {
  platform::GridControl grid("grdProgram");
  grid.resize(800, 600);
  grid.show();
  grid.SetCols(9);
  grid.IndexColumn(3);
  std::vector<QString> texts;
  for (int r = 0; r < 4096 * 9; ++r) texts.push_back(QString::number(r, 16).toUpper());
  for (auto _ : state) {
    grid.BeginUpdate();
    grid.SetRows(1);
    grid.SetRows(4097);
    for (int r = 1; r <= 4096; ++r) {
      for (int c = 0; c < 9; ++c) grid.SetTextMatrix(r, c, texts[(r - 1) * 9 + c]);
    }
    grid.EndUpdate();
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_GridBulkFill)->Unit(benchmark::kMillisecond);

}  // namespace
