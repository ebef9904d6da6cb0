// Builds as a user feels them, offscreen: Build Project of a clean
// 4,095-word program (the largest the assembler holds) with the real assembler until its
// "Prog-Size=" line is listed (target 250 ms); 1,000 error lines poked over the link until all are
// listed (1 s); the jump to line 9,999 of a 10,000-line source already open
// (5 ms), and of one not open yet, its load included (150 ms). Linked into
// bench_editor, whose main makes the QApplication.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "core/main_module.h"
#include "core/monitor_state.h"
#include "platform/filenames.h"
#include "platform/hooks.h"
#include "platform/link_client.h"
#include "workbench/build_command.h"
#include "workbench/buildout.h"
#include "workbench/filopen.h"
#include "workbench/frmnotepad.h"
#include "workbench/mdinote.h"
#include "workbench/workbench.h"

namespace {

void WriteFile(const std::string& path, const std::string& text) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), out);
  std::fclose(out);
}

// Runs events until the condition holds (10 s at most).
bool RunUntil(const std::function<bool()>& condition) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > 10000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

// A main window with the workbench and the builds, whose program folder holds
// the real assembler.
class Bench {
 public:
  Bench() {
    qputenv("TAVIX_LINK_DIR", link.path().toUtf8());
    qputenv("TAVIX_REGISTRY_DIR", registry.path().toUtf8());
    folder = program.path().toStdString() + "/";
    for (const char* name : {"K42xxasm", "condirec.ini", "instruct.ini", "directiv.ini",
                             "operator.ini", "K42XXDIS.so", "TAVIX.INI"}) {
      if (symlink((std::string(TAVIX_DIST_DIR) + name).c_str(), (folder + name).c_str()) != 0)
        std::perror(name);
    }
    platform::SetProgramPath(folder);
    platform::SetEndProgramHook([] {});
    platform::SetMessageBoxHook([](const std::string&, const std::string&, unsigned style) {
      return platform::DefaultAnswer(style);
    });
    monitor::BindWorkbench(workbench);
    monitor::BindBuilds(workbench);
    mainModule.Main();
    mainModule.StopPollLoop();
    source = files.path().toStdString() + "/big.asm";
    std::string text;
    for (int line = 1; line <= 10000; ++line)
      text +=
          "LINE" + std::to_string(line) + ":  LDI 1FH            ; a comment of some length\r\n";
    WriteFile(source, text);
  }
  ~Bench() {
    platform::SetMessageBoxHook(nullptr);
    platform::SetEndProgramHook(nullptr);
  }
  monitor::BuildOut* Out() {
    return dynamic_cast<monitor::BuildOut*>(state.Forms.Load("BuildOut"));
  }

  QTemporaryDir link, registry, program, files;
  std::string folder, source;
  monitor::MonitorState state;
  monitor::MainModule mainModule{state};
  monitor::Workbench workbench{state};
};

void BM_BuildProjectUntilProgramSize(benchmark::State& run) {
  Bench bench;
  const std::string path = bench.files.path().toStdString() + "/clean.asm";
  std::string text;
  for (int word = 0; word < 4095; ++word) text += "        NOP\r\n";
  WriteFile(path, text);
  bench.state.SourceFile = path;
  bench.state.ControllerName = "QV4117";
  for (auto _ : run) {
    monitor::BuildProject(bench.workbench);
    monitor::BuildOut* out = bench.Out();
    if (!RunUntil([out] { return out->ErrorList->count() >= 10; })) run.SkipWithError("no size");
    run.PauseTiming();
    RunUntil([out] { return out->Conversations() == 0; });
    run.ResumeTiming();
  }
  if (bench.Out()->ErrorList->item(9)->text() != "Prog-Size=4095") run.SkipWithError("wrong size");
}
BENCHMARK(BM_BuildProjectUntilProgramSize)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ThousandErrorLinesListed(benchmark::State& run) {
  Bench bench;
  monitor::BuildOut* out = bench.Out();
  const std::string line = bench.source + " ERROR 100: Unknown Instruction; line 0002 - FOO";
  for (auto _ : run) {
    out->ClearList();
    std::atomic<bool> done{false};
    std::thread client([&] {
      platform::LinkClient client;
      if (client.Open("TAVIX", "BuildOut", "Monlink", 100))
        for (int i = 0; i < 1000; ++i) client.Poke(line);
      done = true;
    });
    RunUntil([&] { return done.load(); });
    client.join();
    if (out->ErrorList->count() != 1000) run.SkipWithError("lines lost");
  }
}
BENCHMARK(BM_ThousandErrorLinesListed)->Unit(benchmark::kMillisecond)->UseRealTime();

void GotoLine(benchmark::State& run, bool open) {
  Bench bench;
  monitor::BuildOut* out = bench.Out();
  out->AddLine(
      QString::fromStdString(bench.source + " ERROR 100: Unknown Instruction; line 9998 - FOO"));
  out->ErrorList->setCurrentRow(0);
  if (open) monitor::LoadSourceFile(bench.workbench, bench.source);
  for (auto _ : run) {
    out->GotoErrorLine();
    monitor::frmNotePad* editor = monitor::ActiveEditor(bench.workbench);
    editor->Text1->viewport()->repaint();
    run.PauseTiming();
    if (editor->Text1->SelText() != "LINE9999:  LDI 1FH            ; a comment of some length")
      run.SkipWithError("wrong line");
    if (!open) {
      bench.state.Forms.UnloadNow(editor);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    run.ResumeTiming();
  }
}
void BM_GotoErrorLineInOpenEditor(benchmark::State& run) {
  GotoLine(run, true);
}
void BM_GotoErrorLineLoadingTheFile(benchmark::State& run) {
  GotoLine(run, false);
}
BENCHMARK(BM_GotoErrorLineInOpenEditor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GotoErrorLineLoadingTheFile)->Unit(benchmark::kMillisecond);

}  // namespace
