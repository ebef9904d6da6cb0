// The monitor Tavix.
#include <QApplication>

#include "core/emulator_binding.h"
#include "core/main_module.h"
#include "core/monitor_state.h"
#include "core/registry_settings.h"
#include "debug/debug_forms.h"
#include "mtp/mtp_binding.h"
#include "platform/filenames.h"
#include "platform/hooks.h"
#include "workbench/build_command.h"
#include "workbench/mdinote.h"
#include "workbench/workbench.h"
#include "workbench/tools/pelto_binding.h"
#include "workbench/tools/workbench_tools.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavix");
  if (platform::Unattended()) platform::InstallUnattendedBoxes();
  platform::SetEndProgramHook([] { QCoreApplication::exit(0); });

  int result = 0;
  {
    monitor::MonitorState state;
    // The subsystems bind their operations into state.Seams here as they are
    // built; every operation left empty acts as its subsystem would with
    // nothing open.
    monitor::BindRegistrySettings(state.Seams.settings);
    monitor::Workbench workbench(state);
    monitor::BindWorkbench(workbench);
    monitor::BindBuilds(workbench);
    monitor::BindWorkbenchTools(state);
    monitor::BindPeltoHost(state, monitor::PeltoLibraryFactory(platform::ProgramPath()));
    monitor::RegisterDebugForms(state);
    monitor::BindEmulatorLink(state);
    monitor::Programming programming(state);
    monitor::BindProgramming(state, programming);
    if (monitor::Main(state)) result = QApplication::exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return result;
}
