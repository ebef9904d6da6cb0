// The monitor Tavix.
#include <QApplication>

#include "core/emulator_commands.h"
#include "core/main_module.h"
#include "core/monitor_state.h"
#include "core/registry_settings.h"
#include "platform/hooks.h"

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
    monitor::BindEmulatorLink(state);
    if (monitor::Main(state)) result = QApplication::exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return result;
}
