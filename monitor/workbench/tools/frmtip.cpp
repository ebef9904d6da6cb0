#include "workbench/tools/frmtip.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <chrono>

#include "core/monitor_state.h"
#include "platform/controls.h"
#include "platform/filenames.h"
#include "platform/hooks.h"
#include "settings/mdl_registry.h"
#include "settings/registry_layout.h"
#include "workbench/tools/drawn_pictures.h"

namespace monitor {

frmTip::frmTip(MonitorState& state) : Form("frmTip"), state_(state) {
  SetCaption("Tip of the Day");
  auto* body = new QWidget(this);
  auto* grid = new QGridLayout(body);
  Picture1 = new QLabel(body);
  Picture1->setObjectName("Picture1");
  Picture1->setPixmap(TipBulbPicture(32));
  Label1 = new QLabel("Did you know...", body);
  Label1->setObjectName("Label1");
  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);
  lblTipText = new QLabel(body);
  lblTipText->setObjectName("lblTipText");
  lblTipText->setWordWrap(true);
  lblTipText->setMinimumSize(320, 80);
  lblTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  chkLoadTipsAtStartup = new QCheckBox("Don't &show Tips at Startup", body);
  chkLoadTipsAtStartup->setObjectName("chkLoadTipsAtStartup");
  cmdNextTip = new QPushButton("&Next Tip", body);
  cmdNextTip->setObjectName("cmdNextTip");
  cmdOK = new QPushButton("OK", body);
  cmdOK->setObjectName("cmdOK");

  grid->addWidget(Picture1, 0, 0, 2, 1, Qt::AlignTop);
  grid->addWidget(Label1, 0, 1);
  grid->addWidget(lblTipText, 1, 1);
  auto* row = new QHBoxLayout;
  row->addWidget(chkLoadTipsAtStartup);
  row->addStretch();
  row->addWidget(cmdNextTip);
  row->addWidget(cmdOK);
  grid->addLayout(row, 2, 0, 1, 2);
  setCentralWidget(body);
  SetDialogButtons(cmdOK, cmdOK);

  connect(cmdNextTip, &QPushButton::clicked, this,
          [this] { platform::GuardedCall([this] { cmdNextTip_Click(); }); });
  // Only the user's click writes; setting the box at load does not.
  connect(chkLoadTipsAtStartup, &QCheckBox::clicked, this,
          [this] { platform::GuardedCall([this] { chkLoadTipsAtStartup_Click(); }); });
  connect(cmdOK, &QPushButton::clicked, this,
          [this] { platform::GuardedCall([this] { cmdOK_Click(); }); });
}

void frmTip::OnLoad() {
  const RegValue shown = RegGetSetting(platform::HKEY_CURRENT_USER, kTavixKey, kShowTipsValue);
  platform::SetButtonValue(*chkLoadTipsAtStartup, shown.AsNumber() != 0 ? 1 : 0);
  tips_.Seed(static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch() /
                                   std::chrono::microseconds(1)));
  if (!LoadTips(platform::FindOrKeepPath(state_.ProgramPath + kTipFileName))) {
    lblTipText->setText(QString("That the ") + kTipFileName + " file was not found.");
  }
}

bool frmTip::LoadTips(const std::string& path) {
  if (!tips_.Load(path)) return false;
  ShowNextTip();
  return true;
}

void frmTip::ShowNextTip() {
  tips_.PickNext();
  DisplayCurrentTip();
}

void frmTip::DisplayCurrentTip() {
  QString text;
  if (tips_.CurrentText(text)) lblTipText->setText(text);
}

void frmTip::chkLoadTipsAtStartup_Click() {
  RegSetSetting(platform::HKEY_CURRENT_USER, kTavixKey, kShowTipsValue,
                RegValue(static_cast<int32_t>(platform::ButtonValue(*chkLoadTipsAtStartup))),
                platform::REG_DWORD);
}

void frmTip::cmdOK_Click() {
  close();  // the form manager unloads it
}

}  // namespace monitor
