#include "pelto.h"

#include "pelto_folders.h"
#include "pelto_panel.h"
#include "platform/registry_settings.h"
#include "protocol/signature.h"
#include "target_list.h"

namespace pelto {
namespace {

constexpr char kSettingsKey[] = "SOFTWARE\\Corvane\\PELTO Programmer";
constexpr int kBaudRates[] = {9600, 19200, 38400};

int StoredIndex(const char* name, int count) {
  const int32_t index =
      platform::RegGetSetting(platform::HKEY_LOCAL_MACHINE, kSettingsKey, name).AsNumber();
  return index >= 0 && index < count ? index : 0;
}

}  // namespace

Pelto::Pelto(QWidget* parent)
    : QWidget(parent), panel_(std::make_unique<PeltoPanel>(BuildPeltoPanel(this))) {
  PeltoPanel& p = *panel_;
  logic_.shown.changed = [this](PeltoShown::Part part) { Render(part); };
  InitPanel();
  logic_.states.Update(PanelState::NotConnected);

  platform::RegCreateKeyPath(platform::HKEY_LOCAL_MACHINE, kSettingsKey);
  p.Combo_CommSel->addItems({"COM1", "COM2", "COM3", "COM4"});
  p.Combo_CommSel->setCurrentIndex(StoredIndex("CommPortIndex", 4));
  params_.commPortNr = static_cast<short>(p.Combo_CommSel->currentIndex() + 1);
  p.Combo_BaudSel->addItems({"9600", "19200", "38400"});
  p.Combo_BaudSel->setCurrentIndex(StoredIndex("BaudRateIndex", 3));
  params_.baudRate = kBaudRates[p.Combo_BaudSel->currentIndex()];

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
  logic_.link.ClosePort();
}

Pelto::~Pelto() {
  using platform::RegSetSetting;
  RegSetSetting(platform::HKEY_LOCAL_MACHINE, kSettingsKey, "CommPortIndex",
                static_cast<int32_t>(panel_->Combo_CommSel->currentIndex()), platform::REG_DWORD);
  RegSetSetting(platform::HKEY_LOCAL_MACHINE, kSettingsKey, "BaudRateIndex",
                static_cast<int32_t>(panel_->Combo_BaudSel->currentIndex()), platform::REG_DWORD);
  // The logic closes its port and stops its timers after this; nothing more
  // is drawn.
  logic_.shown.changed = nullptr;
}

QString Pelto::ActiveFile() const {
  return panel_->Text_ActiveFile->text();
}

void Pelto::SetActiveFile(const QString& path) {
  params_.activeFile = path.toStdString();
  panel_->Text_ActiveFile->setText(path);
  Reload();
}

void Pelto::Reload() {
  logic_.file.Forget();
  logic_.file.Load();
}

void Pelto::SetInstructionSize(int bits) {
  params_.instructionSize = bits;
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
                    {params_.instructionSize, params_.nbOfBlocks, params_.blockSize,
                     params_.padBytes});
  params_.instructionSize = params.instructionSize;
  params_.nbOfBlocks = params.nbOfBlocks;
  params_.blockSize = params.blockSize;
  params_.padBytes = params.padBytes;
  panel_->Speed->setEnabled(params_.instructionSize == 22);
  panel_->VPP->setEnabled(params_.instructionSize == 22);
  RefreshParameters();
}

void Pelto::RefreshParameters() {
  PeltoPanel& p = *panel_;
  params_.romSize = params_.nbOfBlocks * params_.blockSize;
  logic_.file.Load();
  p.Text_ROMsize->setText(QString::number(params_.romSize));
  p.Text_BlockSize->setText(QString::number(params_.blockSize));
  p.Text_NrOfBlocks->setText(QString::number(params_.nbOfBlocks));
  p.Text_InstrSize->setText(QString::number(params_.instructionSize));
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

short Pelto::UpdateState(short newStatus, short task) {
  return logic_.states.Update(static_cast<PanelState>(newStatus), static_cast<PanelTask>(task));
}

short Pelto::send_PELTO_data(const QByteArray& buff, short datasize) {
  return logic_.link.Send(buff, datasize) ? 0 : -1;
}

short Pelto::read_PELTO_data(short startadr, short nbbytes, QByteArray& vRxBuff) {
  const std::optional<Bytes> answer = logic_.link.Read(startadr, nbbytes);
  if (!answer) return -1;
  vRxBuff = ToQBytes(*answer);
  return 0;
}

short Pelto::ProgramDevice() {
  return logic_.link.Program() == CommandEnd::Done ? 0 : -1;
}

short Pelto::UpdateEraseTime() {
  return logic_.link.UpdateEraseTime();
}

short Pelto::UpdateROMParams() {
  return logic_.link.UpdateROMParams();
}

short Pelto::UpdateROMData() {
  return logic_.link.UpdateROMData(logic_.file.Source(), logic_.file.Converted());
}

short Pelto::RequestRAMCRC() {
  return logic_.link.RequestRAMCRC();
}

short Pelto::RequestLastInstruction() {
  return logic_.link.RequestLastInstruction();
}

short Pelto::RequestDevCRC() {
  return logic_.link.RequestDevCRC();
}

short Pelto::GetPELTOStatus() {
  return logic_.link.GetStatus();
}

}  // namespace pelto
