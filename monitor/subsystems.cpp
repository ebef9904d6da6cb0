#include "subsystems.h"

#include "core/monitor_state.h"
#include "debug/debug_forms.h"
#include "emulator/emulator_binding.h"
#include "mtp/mtp_binding.h"
#include "platform/filenames.h"
#include "workbench/build_command.h"
#include "workbench/mdinote.h"
#include "workbench/tools/pelto_binding.h"
#include "workbench/tools/pelto_host.h"
#include "workbench/tools/workbench_tools.h"
#include "workbench/workbench.h"

namespace monitor {

void BindSubsystems(MonitorState& state, Workbench& workbench, Programming& programming) {
  BindWorkbench(workbench);
  BindBuilds(workbench);
  BindWorkbenchTools(state);
  BindPeltoHost(state, PeltoLibraryFactory(platform::ProgramPath()));
  RegisterDebugForms(state);
  BindEmulatorLink(state);
  BindProgramming(state, programming);
}

}  // namespace monitor
