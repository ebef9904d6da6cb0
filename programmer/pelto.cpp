#include "pelto.h"

#include "pelto_folders.h"
#include "pelto_panel.h"
#include "protocol/signature.h"
#include "settings/mdl_registry.h"
#include "target_list.h"

namespace pelto {
namespace {

constexpr char kSettingsKey[] = "SOFTWARE\\Corvane\\PELTO Programmer";
constexpr int kBaudRates[] = {9600, 19200, 38400};

int StoredIndex(const char* name, int count) {
  const int32_t index =
      monitor::RegGetSetting(platform::HKEY_LOCAL_MACHINE, kSettingsKey, name).AsNumber();
  return index >= 0 && index < count ? index : 0;
}

}  // namespace

Pelto::Pelto(QWidget* parent)
    : QWidget(parent), panel_(std::make_unique<PeltoPanel>(BuildPeltoPanel(this))) {
  PeltoPanel& p = *panel_;
  for (auto [timer, flag] : {std::pair{&Timer_GralTimeOut, &gralTimedOut_},
                             std::pair{&Timer_ReadTimeOut, &readTimedOut_},
                             std::pair{&Timer_SendTimeOut, &sendTimedOut_},
                             std::pair{&Timer_FileWait, &fileTimedOut_}}) {
    timer->SetEnabled(false);
    timer->onTimer = [timer = timer, flag = flag] {
      timer->SetEnabled(false);
      *flag = true;
    };
  }
  InitPanel();
  UpdateState(0, 0);

  monitor::RegCreateKeyPath(platform::HKEY_LOCAL_MACHINE, kSettingsKey);
  p.Combo_CommSel->addItems({"COM1", "COM2", "COM3", "COM4"});
  p.Combo_CommSel->setCurrentIndex(StoredIndex("CommPortIndex", 4));
  commPortNr_ = static_cast<short>(p.Combo_CommSel->currentIndex() + 1);
  p.Combo_BaudSel->addItems({"9600", "19200", "38400"});
  p.Combo_BaudSel->setCurrentIndex(StoredIndex("BaudRateIndex", 3));
  baudRate_ = kBaudRates[p.Combo_BaudSel->currentIndex()];

  windowsFolder_ = WindowsFolder();
  systemFolder_ = SystemFolder();
  QSignalBlocker quiet(p.Combo_Target);
  for (const std::string& name : TargetNames(windowsFolder_ + kTargetFile)) {
    p.Combo_Target->addItem(QString::fromStdString(name));
  }
  if (p.Combo_Target->count() == 0) {
    p.Combo_Target->addItem(kUndefinedTarget);
    noTargetList_ = true;
  }
  ClosePort();
}

Pelto::~Pelto() {
  using monitor::RegSetSetting;
  RegSetSetting(platform::HKEY_LOCAL_MACHINE, kSettingsKey, "CommPortIndex",
                static_cast<int32_t>(panel_->Combo_CommSel->currentIndex()), platform::REG_DWORD);
  RegSetSetting(platform::HKEY_LOCAL_MACHINE, kSettingsKey, "BaudRateIndex",
                static_cast<int32_t>(panel_->Combo_BaudSel->currentIndex()), platform::REG_DWORD);
  for (platform::Timer* timer :
       {&Timer_GralTimeOut, &Timer_ReadTimeOut, &Timer_SendTimeOut, &Timer_FileWait}) {
    timer->SetEnabled(false);
  }
  if (RS232.PortOpen()) RS232.SetPortOpen(false);
}

QString Pelto::ActiveFile() const {
  return panel_->Text_ActiveFile->text();
}

void Pelto::SetActiveFile(const QString& path) {
  activeFile_ = path;
  panel_->Text_ActiveFile->setText(path);
  ForgetConversion();
  LoadRomFile();
}

void Pelto::SetInstructionSize(int bits) {
  instructionSize_ = bits;
  panel_->Text_InstrSize->setText(QString::number(bits));
}

QString Pelto::ActiveMicro() const {
  return panel_->Combo_Target->currentText();
}

void Pelto::SetActiveMicro(const QString& target) {
  activeMicro_ = target;
  QComboBox* combo = panel_->Combo_Target;
  {
    QSignalBlocker quiet(combo);
    if (noTargetList_) combo->addItem(target);
    const int index = combo->findText(target);
    if (index >= 0) {
      combo->setCurrentIndex(index);
    } else {
      combo->setEditText(target);
    }
  }
  SelectTarget();
  noTargetList_ = false;
}

void Pelto::SelectTarget() {
  const RomParams params =
      ReadRomParams(windowsFolder_ + kTargetFile, ActiveMicro().toStdString(),
                    {instructionSize_, nbOfBlocks_, blockSize_, padBytes_});
  instructionSize_ = params.instructionSize;
  nbOfBlocks_ = params.nbOfBlocks;
  blockSize_ = params.blockSize;
  padBytes_ = params.padBytes;
  panel_->Speed->setEnabled(instructionSize_ == 22);
  panel_->VPP->setEnabled(instructionSize_ == 22);
  RefreshParameters();
}

void Pelto::RefreshParameters() {
  PeltoPanel& p = *panel_;
  romSize_ = nbOfBlocks_ * blockSize_;
  LoadRomFile();
  p.Text_ROMsize->setText(QString::number(romSize_));
  p.Text_BlockSize->setText(QString::number(blockSize_));
  p.Text_NrOfBlocks->setText(QString::number(nbOfBlocks_));
  p.Text_InstrSize->setText(QString::number(instructionSize_));
  for (QLineEdit* box : {p.Text_ROMsize, p.Text_BlockSize, p.Text_NrOfBlocks, p.Text_InstrSize}) {
    SetForeColor(box, kBlack);
  }
  const bool editable = ActiveMicro() == kUndefinedTarget;
  for (QLineEdit* box : {p.Text_InstrSize, p.Text_NrOfBlocks, p.Text_BlockSize}) {
    box->setEnabled(editable);
  }
}

int Pelto::CalculateCRC16_old(const QString& fname, int maxrom) {
  return protocol::FileCrc16Old(fname.toStdString(), maxrom);
}

}  // namespace pelto
