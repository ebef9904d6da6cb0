#include "loaded_panel.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>

#include "core/main_module.h"
#include "core/monitorform.h"
#include "debug/debug_forms.h"
#include "debug/iceview.h"
#include "platform/filenames.h"
#include "platform/hooks.h"
#include "platform/messagebox.h"

namespace benchpanel {

LoadedPanel::LoadedPanel() {
  qputenv("TAVIX_LINK_DIR", link.path().toUtf8());
  qputenv("TAVIX_REGISTRY_DIR", registry.path().toUtf8());
  platform::SetEndProgramHook([] {});
  platform::SetBeepHook([] {});
  platform::SetMessageBoxHook([](const std::string& text, const std::string&, unsigned) {
    std::fprintf(stderr, "box: %s\n", text.c_str());
    return 1;
  });
  platform::SetProgramPath(TAVIX_DIST_DIR);
  monitor::RegisterDebugForms(state);
  mainModule.Main();
  mainModule.StopPollLoop();
  state.ProgramPath = TAVIX_DIST_DIR;
  state.ControllerName = "QV4128";
  state.MainForm()->Command("mnuQVVICE", -1);
  panel = dynamic_cast<monitor::IceView*>(state.Forms.Get("IceView"));
}

int RunOffscreen(int argc, char** argv, const std::function<void()>& release) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  release();
  return 0;
}

}  // namespace benchpanel
