#pragma once
// The about box: the program's icon, name, version, company and legal notice
// from the build, a warning, OK and System Info. Shown modally.
#include <QLabel>
#include <QPushButton>

#include "platform/forms.h"

namespace monitor {

class frmAbout : public platform::Form {
 public:
  frmAbout();

  QLabel *picIcon, *lblTitle, *lblVersion, *lblcompany, *lblcopyright, *lblDisclaimer;
  QPushButton *cmdOK, *cmdSysInfo;

  void OnLoad() override;
  void cmdOK_Click();
  // There is no system-information program to start here, so the answer is
  // the one given when none is found.
  void cmdSysInfo_Click();
};

}  // namespace monitor
