#include "virtual_panel.h"

#include <cstdio>

#include "core/main_module.h"
#include "core/monitorform.h"
#include "debug/debug_forms.h"
#include "platform/filenames.h"
#include "platform/hooks.h"
#include "platform/messagebox.h"

namespace benchsupport {

VirtualPanel::VirtualPanel() {
  qputenv("TAVIX_LINK_DIR", folder.path().toUtf8());
  qputenv("TAVIX_REGISTRY_DIR", registry.path().toUtf8());
  platform::SetEndProgramHook([] {});
  platform::SetBeepHook([] {});
  platform::SetMessageBoxHook([](const std::string& text, const std::string&, unsigned) {
    std::fprintf(stderr, "box: %s\n", text.c_str());
    return 1;
  });
  platform::SetProgramPath(TAVIX_DIST_DIR);
  monitor::RegisterDebugForms(state);
  monitor::Main(state);
  state.PollTimer->stop();
  state.ProgramPath = TAVIX_DIST_DIR;
  state.ControllerName = "QV4128";
  state.MainForm()->Command("mnuQVVICE", -1);
}

}  // namespace benchsupport
