// The monitor Tavix.
#include <QApplication>

#include "core/main_module.h"
#include "core/monitor_state.h"
#include "mtp/mtp_binding.h"
#include "platform/hooks.h"
#include "subsystems.h"
#include "workbench/mdinote.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavix");
  if (platform::Unattended()) platform::InstallUnattendedBoxes();
  platform::SetEndProgramHook([] { QCoreApplication::exit(0); });

  int result = 0;
  {
    monitor::MonitorState state;
    monitor::MainModule mainModule(state);
    // The subsystems bind their operations into state.Seams here as they are
    // built; every operation left empty acts as its subsystem would with
    // nothing open.
    monitor::Workbench workbench(state);
    monitor::Programming programming(state);
    monitor::BindSubsystems(state, workbench, programming);
    if (mainModule.Main()) result = QApplication::exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return result;
}
