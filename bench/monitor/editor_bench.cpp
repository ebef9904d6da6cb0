// The editors' speed as a user feels it, on a 10,000-line source (about
// 650 KB, CR LF) in a shown editor, offscreen: the open until painted once,
// Find Next down and up across the whole text, the save, and one typed
// character. Targets: 100 ms, 10 ms each, 50 ms, 5 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <string>

#include "core/main_module.h"
#include "core/monitor_state.h"
#include "platform/filenames.h"
#include "platform/hooks.h"
#include "workbench/filopen.h"
#include "workbench/frmnotepad.h"
#include "workbench/mdinote.h"
#include "workbench/workbench.h"

namespace {

std::string BigSource() {
  std::string text;
  for (int line = 1; line <= 10000; ++line) {
    text +=
        "LINE" + std::to_string(line) + ":  LDI 1FH            ; a comment of some length here\r\n";
  }
  return text + "LAST_LABEL: JMP LAST_LABEL\r\n";
}

// A shown main window with the workbench, in private folders.
class Bench {
 public:
  Bench() {
    qputenv("TAVIX_LINK_DIR", link.path().toUtf8());
    qputenv("TAVIX_REGISTRY_DIR", registry.path().toUtf8());
    platform::SetProgramPath(files.path().toStdString());
    platform::SetEndProgramHook([] {});
    platform::SetMessageBoxHook([](const std::string&, const std::string&, unsigned style) {
      return platform::DefaultAnswer(style);
    });
    monitor::BindWorkbench(workbench);
    mainModule.Main();
    mainModule.StopPollLoop();
    path = files.path().toStdString() + "/big.asm";
    const std::string text = BigSource();
    std::FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
  }
  ~Bench() {
    platform::SetMessageBoxHook(nullptr);
    platform::SetEndProgramHook(nullptr);
  }
  monitor::frmNotePad* Open() {
    monitor::LoadSourceFile(workbench, path);
    monitor::frmNotePad* editor = monitor::ActiveEditor(workbench);
    editor->Text1->viewport()->repaint();
    return editor;
  }

  QTemporaryDir link, registry, files;
  monitor::MonitorState state;
  monitor::MainModule mainModule{state};
  monitor::Workbench workbench{state};
  std::string path;
};

void BM_OpenSourceUntilPainted(benchmark::State& run) {
  Bench bench;
  for (auto _ : run) {
    monitor::frmNotePad* editor = bench.Open();
    run.PauseTiming();
    bench.state.Forms.UnloadNow(editor);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    run.ResumeTiming();
  }
}
BENCHMARK(BM_OpenSourceUntilPainted)->Unit(benchmark::kMillisecond);

void FindAcross(benchmark::State& run, bool down) {
  Bench bench;
  monitor::frmNotePad* editor = bench.Open();
  const int end = static_cast<int>(editor->Text1->Text().size());
  monitor::EditorSearch& search = bench.workbench.Search;
  search.FindText = down ? "last_label: jmp" : "line1:";
  search.FindDirection = down ? 1 : 0;
  for (auto _ : run) {
    editor->Text1->SetSelection(down ? 0 : end, 0);
    search.FindRestart = -1;
    monitor::SearchActiveEditor(bench.workbench);
    editor->Text1->viewport()->repaint();
  }
  if (editor->Text1->SelStart() != (down ? end - 27 : 0)) run.SkipWithError("not found");
}
void BM_FindNextDownToLastLine(benchmark::State& run) {
  FindAcross(run, true);
}
void BM_FindNextUpToFirstLine(benchmark::State& run) {
  FindAcross(run, false);
}
BENCHMARK(BM_FindNextDownToLastLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNextUpToFirstLine)->Unit(benchmark::kMillisecond);

void BM_SaveSource(benchmark::State& run) {
  Bench bench;
  monitor::frmNotePad* editor = bench.Open();
  for (auto _ : run) {
    if (!monitor::SaveDocument(bench.workbench, *editor, bench.path))
      run.SkipWithError("not saved");
  }
}
BENCHMARK(BM_SaveSource)->Unit(benchmark::kMillisecond);

void BM_TypeOneCharacter(benchmark::State& run) {
  Bench bench;
  monitor::frmNotePad* editor = bench.Open();
  editor->Text1->SetSelection(300000, 0);
  for (auto _ : run) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(editor->Text1, &press);
    editor->Text1->viewport()->repaint();
  }
}
BENCHMARK(BM_TypeOneCharacter)->Unit(benchmark::kMicrosecond);

}  // namespace
