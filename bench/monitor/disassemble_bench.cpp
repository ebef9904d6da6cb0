// The disassembler front end: Disassemble on a 4,096-word image with all five
// outputs ticked, from the click to the arrow pointer (target under 250 ms),
// and the library's own call on the same files for comparison. The main
// of bench_monitor runs them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "core/main_module.h"
#include "core/monitor_state.h"
#include "platform/filenames.h"
#include "platform/hooks.h"
#include "workbench/tools/disassembler_binding.h"
#include "workbench/tools/dissassamble_params.h"
#include "workbench/tools/workbench_tools.h"

namespace {

// 4,096 words of jumps, calls, register and immediate instructions.
std::string ImageBytes() {
  const uint16_t pattern[] = {0x1000, 0x2005, 0x300A, 0x0000, 0x4123, 0x5A7F, 0x6C10, 0x7E01};
  std::string bytes;
  for (int i = 0; i < 4096; ++i) {
    const uint16_t word = pattern[i % 8] ^ static_cast<uint16_t>(i & 0x00FF);
    bytes += static_cast<char>(word >> 8);
    bytes += static_cast<char>(word & 0xFF);
  }
  return bytes;
}

struct Folder {
  QTemporaryDir dir;
  std::string base;
  Folder() : base(dir.path().toStdString() + "/MAIN") {
    QFile image(QString::fromStdString(base + ".bin"));
    image.open(QIODevice::WriteOnly);
    const std::string bytes = ImageBytes();
    image.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
};

void QuietHooks() {
  platform::SetMessageBoxHook([](const std::string&, const std::string&, unsigned) { return 1; });
  platform::SetModalFormHook([](QWidget& form) { form.close(); });
  platform::SetEndProgramHook([] {});
}

void BM_DisassembleButton(benchmark::State& state) {
  QTemporaryDir link, registry;
  qputenv("TAVIX_LINK_DIR", link.path().toUtf8());
  qputenv("TAVIX_REGISTRY_DIR", registry.path().toUtf8());
  platform::SetProgramPath(TAVIX_DIST_DIR);
  QuietHooks();
  Folder folder;
  {
    monitor::MonitorState monitorState;
    monitor::MainModule mainModule(monitorState);
    monitor::BindWorkbenchTools(monitorState);
    monitorState.SourceFile = folder.base + ".ASM";
    mainModule.Main();
    mainModule.StopPollLoop();
    monitorState.Forms.Load("Dissassamble_params");
    auto* dialog =
        dynamic_cast<monitor::Dissassamble_params*>(monitorState.Forms.Get("Dissassamble_params"));
    for (auto _ : state) {
      dialog->Command1->click();
      if (QApplication::overrideCursor() != nullptr) state.SkipWithError("hourglass left on");
    }
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
BENCHMARK(BM_DisassembleButton)->Unit(benchmark::kMillisecond);

void BM_LibraryAlone(benchmark::State& state) {
  QuietHooks();
  Folder folder;
  const std::string& b = folder.base;
  for (auto _ : state) {
    monitor::Disassemble_K42XX(
        TAVIX_DIST_DIR, {b + ".bin", b + ".asm", b + ".prt", b + ".sym", b + ".sta", b + ".xrf"},
        0x3E);
  }
}
BENCHMARK(BM_LibraryAlone)->Unit(benchmark::kMillisecond);

}  // namespace
