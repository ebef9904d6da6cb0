// The LCD segment editor SEGDRAW.
#include <QApplication>

#include <platform/hooks.h>

#include "segdraw_app.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QApplication::setApplicationName("Segdraw");
  if (platform::Unattended()) platform::InstallUnattendedBoxes();
  CSegdrawApp app;
  if (!app.InitInstance()) return 0;
  return QApplication::exec();
}
