#include "subsystems.h"

#include "core/emulator_binding.h"
#include "core/monitor_state.h"
#include "core/registry_settings.h"
#include "debug/debug_forms.h"
#include "workbench/build_command.h"
#include "workbench/mdinote.h"
#include "workbench/tools/workbench_tools.h"
#include "workbench/workbench.h"

namespace monitor {

void BindSubsystems(MonitorState& state, Workbench& workbench) {
  BindRegistrySettings(state.Seams.settings);
  BindWorkbench(workbench);
  BindBuilds(workbench);
  BindWorkbenchTools(state);
  RegisterDebugForms(state);
  BindEmulatorLink(state);
}

}  // namespace monitor
