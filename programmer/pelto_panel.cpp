#include "pelto_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/controls.h"

namespace pelto {
namespace {

template <typename W>
W* Named(W* widget, const char* name, const char* tip = nullptr) {
  widget->setObjectName(name);
  if (tip != nullptr) widget->setToolTip(QString::fromUtf8(tip));
  return widget;
}

QLineEdit* Box(const char* name, bool readOnly, const char* tip = nullptr) {
  auto* box = Named(new QLineEdit, name, tip);
  box->setReadOnly(readOnly);
  return box;
}

// A row of a grid: caption, control and an optional unit.
void Row(QGridLayout* grid, const char* caption, QWidget* control, const char* unit = nullptr) {
  const int row = grid->rowCount();
  grid->addWidget(new QLabel(QString::fromUtf8(caption)), row, 0);
  grid->addWidget(control, row, 1);
  if (unit != nullptr) grid->addWidget(new QLabel(unit), row, 2);
}

QWidget* CommPage(PeltoPanel& p) {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  p.Combo_CommSel = Named(new QComboBox, "Combo_CommSel", "RS232 port selection");
  p.Combo_BaudSel = Named(new QComboBox, "Combo_BaudSel", "Transmission speed");
  grid->addWidget(Named(new QLabel("Port:"), "Label_Port"), 0, 0);
  grid->addWidget(p.Combo_CommSel, 0, 1);
  grid->addWidget(Named(new QLabel("Baud Rate:"), "Label_Baudrate"), 1, 0);
  grid->addWidget(p.Combo_BaudSel, 1, 1);
  grid->setRowStretch(2, 1);
  return page;
}

QWidget* ControllerPage(PeltoPanel& p) {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  p.Combo_Target = Named(new QComboBox, "Combo_Target", "Choose the type of µC");
  p.Combo_Target->setEditable(true);
  grid->addWidget(Named(new QLabel("Target:"), "Label_Target"), 0, 0);
  grid->addWidget(p.Combo_Target, 0, 1);
  p.Text_ActiveFile = Box("Text_ActiveFile", false, "For 8-bits µC choose .rob files");
  p.Button_Browse = Named(new QPushButton("Browse..."), "Button_Browse");
  grid->addWidget(Named(new QLabel("Active File:"), "Label_ActiveFile"), 1, 0);
  grid->addWidget(p.Text_ActiveFile, 1, 1);
  grid->addWidget(p.Button_Browse, 1, 2);
  const char* editTip = "edit with ENTER, TAB, ESCAPE";
  p.Text_InstrSize = Box("Text_InstrSize", false, editTip);
  p.Text_NrOfBlocks = Box("Text_NrOfBlocks", false, editTip);
  p.Text_BlockSize = Box("Text_BlockSize", false, editTip);
  p.Text_ROMsize = Box("Text_ROMsize", true);
  p.Text_ProgSize = Box("Text_ProgSize", true);
  Row(grid, "Word Size:", p.Text_InstrSize, "Bits");
  Row(grid, "Nr.of blocks:", p.Text_NrOfBlocks);
  Row(grid, "Block Size:", p.Text_BlockSize, "Words");
  Row(grid, "ROM size:", p.Text_ROMsize, "Words");
  Row(grid, "Program Size:", p.Text_ProgSize, "Words");
  p.Text_Message = Named(new QLabel, "Text_Message");
  p.Button_Recalc = Named(new QPushButton("recalc"), "Button_Recalc", "Force File CRC");
  grid->addWidget(p.Text_Message, grid->rowCount(), 0, 1, 2);
  grid->addWidget(p.Button_Recalc, grid->rowCount() - 1, 2);
  return page;
}

QWidget* OperationPage(PeltoPanel& p) {
  auto* page = new QWidget;
  auto* grid = new QGridLayout(page);
  p.Button_Connect = Named(new QPushButton, "Button_Connect", "Connect/Disconnect");
  p.Button_Connect->setIconSize(QSize(32, 32));
  grid->addWidget(p.Button_Connect, 0, 0);

  auto* mode = Named(new QGroupBox("Operating Mode"), "Frame_Mode");
  auto* modeLayout = new QVBoxLayout(mode);
  p.Option_OnLine = Named(new QRadioButton("On Line"), "Option_OnLine");
  p.Option_StdAlone = Named(new QRadioButton("Standalone"), "Option_StdAlone");
  modeLayout->addWidget(p.Option_OnLine);
  modeLayout->addWidget(p.Option_StdAlone);
  grid->addWidget(mode, 0, 1);

  p.Button_Download =
      Named(new QPushButton("download"), "Button_Download", "Download Prog. to Box");
  p.Button_Program = Named(new QPushButton("Program Device"), "Button_Program");
  p.Button_ReadDevCRC = Named(new QPushButton("Read Device CRC"), "Button_ReadDevCRC");
  p.Button_LastInstruction =
      Named(new QPushButton("Last Instr."), "Button_LastInstruction", "Get last instruction");
  p.Text_LastInstruction = Box("Text_LastInstruction", true, "Last instruction");
  grid->addWidget(p.Button_Download, 1, 0);
  grid->addWidget(p.Button_Program, 1, 1);
  grid->addWidget(p.Button_ReadDevCRC, 1, 2);
  grid->addWidget(p.Button_LastInstruction, 2, 0);
  grid->addWidget(p.Text_LastInstruction, 2, 1);

  auto* automation = Named(new QGroupBox("Automation"), "Frame_Automation");
  auto* autoLayout = new QVBoxLayout(automation);
  p.Check_AutoProg = Named(new QCheckBox("Auto-Program at chip insertion"), "Check_AutoProg");
  p.Check_AutoCRC = Named(new QCheckBox("Auto-CRC at chip insertion"), "Check_AutoCRC");
  autoLayout->addWidget(p.Check_AutoProg);
  autoLayout->addWidget(p.Check_AutoCRC);
  grid->addWidget(automation, 0, 2);

  auto* crcs = new QGridLayout;
  p.Text_CRCMaster = Box("Text_CRCMaster", true, "CRC of the PC's File");
  p.Text_CRCBox = Box("Text_CRCBox", true, "CRC sent by the Programmer");
  p.Text_CRCDevice = Box("Text_CRCDevice", true, "CRC of the controller");
  Row(crcs, "Master (file)", p.Text_CRCMaster);
  Row(crcs, "Programmer", p.Text_CRCBox);
  Row(crcs, "Device", p.Text_CRCDevice);
  grid->addLayout(crcs, 3, 0, 1, 2);

  p.Text_Status = Named(new QLabel, "Text_Status", "Status");
  p.Pict_TraficLight = Named(new QLabel, "Pict_TraficLight");
  p.Pict_ChipPresent = Named(new QLabel, "Pict_ChipPresent", "Chip in the socket ?");
  auto* status = new QGridLayout;
  Row(status, "Status", p.Text_Status);
  status->addWidget(p.Pict_TraficLight, 0, 2);
  Row(status, "Chip:", p.Pict_ChipPresent);
  grid->addLayout(status, 3, 2);
  return page;
}

QWidget* HelpPage(PeltoPanel& p) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  p.Button_Index = Named(new QPushButton("Contents and Index"), "Button_Index");
  p.Button_About = Named(new QPushButton("About PELTO Programmer..."), "Button_About");
  layout->addWidget(p.Button_Index);
  layout->addWidget(p.Button_About);
  layout->addStretch();
  return page;
}

QWidget* ProgSettingsPage(PeltoPanel& p) {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  p.Label10 = Named(new QLabel("Only for QV72xx device Internal use"), "Label10");
  p.Text1 = Box("Text1", false);
  layout->addWidget(p.Label10);
  layout->addWidget(p.Text1);
  p.Speed = Named(new QGroupBox("Speed"), "Speed");
  auto* speeds = new QHBoxLayout(p.Speed);
  const char* clocks[] = {"150KHz", "300KHz", "600KHz", "1.2MHz"};
  for (int i = 0; i < 4; ++i) {
    p.Selspeed[i] = new QRadioButton(clocks[i]);
    p.Selspeed[i]->setObjectName(QString("Selspeed(%1)").arg(i));
    speeds->addWidget(p.Selspeed[i]);
  }
  p.VPP = Named(new QGroupBox("progammation voltage"), "VPP");
  auto* vpp = new QHBoxLayout(p.VPP);
  p.Slider1 = Named(new QSlider(Qt::Horizontal), "Slider1");
  p.Slider1->setRange(0, 10);
  p.glVtn = Named(new QLabel("13"), "glVtn");
  vpp->addWidget(p.Slider1);
  vpp->addWidget(p.glVtn);
  layout->addWidget(p.Speed);
  layout->addWidget(p.VPP);
  layout->addStretch();
  p.Speed->setVisible(false);
  p.VPP->setVisible(false);
  return page;
}

}  // namespace

PeltoPanel BuildPeltoPanel(QWidget* owner) {
  PeltoPanel p{};
  p.TabCntl = Named(new QTabWidget, "TabCntl");
  p.TabCntl->addTab(CommPage(p), "Comm Settings");
  p.TabCntl->addTab(ControllerPage(p), "Controller");
  p.TabCntl->addTab(OperationPage(p), "Operation");
  p.TabCntl->addTab(HelpPage(p), "Help");
  p.TabCntl->addTab(ProgSettingsPage(p), "Prog Settings");
  p.ProgBar = Named(new QProgressBar, "ProgBar");
  p.ProgBar->setRange(0, 100);
  p.ProgBar->setValue(0);
  p.ProgBar->setTextVisible(false);
  auto* layout = new QVBoxLayout(owner);
  layout->addWidget(p.TabCntl);
  layout->addWidget(p.ProgBar);
  return p;
}

void SetForeColor(QWidget* widget, long color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Text, platform::ColorFromLong(color));
  palette.setColor(QPalette::WindowText, platform::ColorFromLong(color));
  widget->setPalette(palette);
  widget->setProperty("ForeColor", static_cast<qlonglong>(color));
}

}  // namespace pelto
