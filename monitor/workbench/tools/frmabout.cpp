#include "workbench/tools/frmabout.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "platform/hooks.h"
#include "tavix_version.h"
#include "workbench/tools/drawn_pictures.h"

namespace monitor {
namespace {

constexpr char kDisclaimer[] =
    "Warning: this program is provided as it is, without any warranty. Check every code image "
    "it builds or programs on the real target before relying on it.";

QLabel* NamedLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  return label;
}

}  // namespace

frmAbout::frmAbout() : Form("frmAbout") {
  auto* body = new QWidget(this);
  auto* grid = new QGridLayout(body);
  picIcon = NamedLabel("picIcon", body);
  picIcon->setPixmap(ProgramIconPicture(32));
  lblTitle = NamedLabel("lblTitle", body);
  QFont titleFont = lblTitle->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
  lblTitle->setFont(titleFont);
  lblVersion = NamedLabel("lblVersion", body);
  lblcompany = NamedLabel("lblcompany", body);
  lblcopyright = NamedLabel("lblcopyright", body);
  lblDisclaimer = NamedLabel("lblDisclaimer", body);
  lblDisclaimer->setWordWrap(true);
  cmdOK = new QPushButton("OK", body);
  cmdOK->setObjectName("cmdOK");
  cmdSysInfo = new QPushButton("&System Info...", body);
  cmdSysInfo->setObjectName("cmdSysInfo");

  grid->addWidget(picIcon, 0, 0, 4, 1, Qt::AlignTop);
  grid->addWidget(lblTitle, 0, 1);
  grid->addWidget(lblVersion, 1, 1);
  grid->addWidget(lblcompany, 2, 1);
  grid->addWidget(lblcopyright, 3, 1);
  grid->addWidget(lblDisclaimer, 4, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdSysInfo);
  grid->addLayout(buttons, 5, 0, 1, 2);
  grid->setColumnMinimumWidth(1, 320);
  setCentralWidget(body);
  SetDialogButtons(cmdOK, cmdOK);

  connect(cmdOK, &QPushButton::clicked, this,
          [this] { platform::GuardedCall([this] { cmdOK_Click(); }); });
  connect(cmdSysInfo, &QPushButton::clicked, this,
          [this] { platform::GuardedCall([this] { cmdSysInfo_Click(); }); });
}

void frmAbout::OnLoad() {
  SetCaption(QString("About ") + kProductName);
  lblVersion->setText(QString("Version %1.%2").arg(kVersionMajor).arg(kVersionMinor));
  lblTitle->setText(kProductName);
  lblcompany->setText(kCompanyName);
  lblcopyright->setText(kLegalNotice);
  lblDisclaimer->setText(kDisclaimer);
}

void frmAbout::cmdOK_Click() {
  close();  // the form manager unloads it
}

void frmAbout::cmdSysInfo_Click() {
  platform::MessageBox("System Information Is Unavailable At This Time", kProductName,
                       platform::MB_OK);
}

}  // namespace monitor
