// What the panel's controls do when the user acts on them.
#include <QEvent>
#include <QKeyEvent>

#include "pelto.h"
#include "pelto_folders.h"
#include "pelto_panel.h"
#include "pelto_pictures.h"
#include "platform/hooks.h"
#include "platform/registry_settings.h"
#include "platform/run_time_error.h"

namespace pelto {
namespace {

constexpr char kAccessWord[] = "QV72xx";

}  // namespace

void Pelto::InitPanel() {
  PeltoPanel& p = *panel_;
  PeltoStates& states = logic_.states;
  ShowPicture(p.Button_Program, PeltoPicture::AutoProgramOff);
  ShowPicture(p.Button_ReadDevCRC, PeltoPicture::AutoCrcOff);
  ShowPicture(p.Pict_TraficLight, PeltoPicture::LightYellow);

  connect(p.Button_Connect, &QPushButton::clicked, this, [&states] { states.ToggleConnection(); });
  const std::pair<QPushButton*, PanelTask> tasks[] = {{p.Button_Download, PanelTask::Download},
                                                      {p.Button_Program, PanelTask::Program},
                                                      {p.Button_ReadDevCRC, PanelTask::ReadDeviceCrc}};
  for (const auto& entry : tasks) {
    const PanelTask task = entry.second;
    connect(entry.first, &QPushButton::clicked, this, [this, task] {
      panel_->VPP->setEnabled(false);
      panel_->Speed->setEnabled(false);
      logic_.states.Update(PanelState::Busy, task);
    });
  }
  connect(p.Button_LastInstruction, &QPushButton::clicked, this,
          [&states] { states.Update(PanelState::Busy, PanelTask::LastInstruction); });
  connect(p.Button_Recalc, &QPushButton::clicked, this, [this] { Reload(); });
  connect(p.Option_OnLine, &QRadioButton::clicked, this,
          [&states] { states.WriteWhenIdle(protocol::CommandFrame(protocol::kCommandOnline)); });
  connect(p.Option_StdAlone, &QRadioButton::clicked, this,
          [&states] { states.WriteWhenIdle(protocol::CommandFrame(protocol::kCommandStandalone)); });
  // At most one of the two automatic steps is ticked.
  const auto automation = [this](QCheckBox* self, QCheckBox* other, bool& flag,
                                 QPushButton* button, PeltoPicture on, PeltoPicture off) {
    connect(self, &QCheckBox::clicked, this, [self, other, &flag, button, on, off] {
      if (other->isChecked()) {
        self->setChecked(false);
        return;
      }
      flag = self->isChecked();
      ShowPicture(button, flag ? on : off);
    });
  };
  automation(p.Check_AutoProg, p.Check_AutoCRC, states.autoProgram, p.Button_Program,
             PeltoPicture::AutoProgramOn, PeltoPicture::AutoProgramOff);
  automation(p.Check_AutoCRC, p.Check_AutoProg, states.autoCrc, p.Button_ReadDevCRC,
             PeltoPicture::AutoCrcOn, PeltoPicture::AutoCrcOff);
  connect(p.Combo_CommSel, &QComboBox::activated, this,
          [this](int index) { params_.commPortNr = static_cast<short>(index + 1); });
  connect(p.Combo_BaudSel, &QComboBox::activated, this,
          [this] { params_.baudRate = panel_->Combo_BaudSel->currentText().toInt(); });
  connect(p.Combo_Target, &QComboBox::activated, this, [this] { SelectTarget(); });
  connect(p.Button_Browse, &QPushButton::clicked, this, [this] { Browse(); });
  connect(p.Button_Index, &QPushButton::clicked, this,
          [this] { platform::OpenHelp(systemFolder_ + "Peltoprog.hlp", 15); });
  connect(p.Button_About, &QPushButton::clicked, this, [] {
    platform::MessageBox("PELTO Programmer Control", "About PELTO Programmer", platform::MB_OK);
  });
  for (int i = 0; i < 4; ++i) {
    connect(p.Selspeed[i], &QRadioButton::clicked, this, [&states, i] {
      states.WriteWhenIdle(protocol::WriteFrame(protocol::kClockAddress, {static_cast<uint8_t>(i)}));
    });
  }
  connect(p.Slider1, &QSlider::valueChanged, this, [this](int position) {
    params_.vppPosition = position;
    panel_->glVtn->setText(QString::number(13 + position / 2.0));
    logic_.states.WriteWhenIdle(protocol::WriteFrame(protocol::kVppAddress, {static_cast<uint8_t>(position)}));
  });
  for (QWidget* box : std::initializer_list<QWidget*>{p.Text_ActiveFile, p.Text_InstrSize,
                                                      p.Text_NrOfBlocks, p.Text_BlockSize,
                                                      p.Text1}) {
    box->installEventFilter(this);
  }
}

void Pelto::Browse() {
  platform::CommonDialog dialog("CommonDialog1", this);
  const int bits = params_.instructionSize;
  dialog.Filter = bits == 18 || bits == 22
                      ? "ROM Files (*.rom)|*.rom|ROM-Binary Files (*.rob)|*.rob|All Files (*.*)|*.*"
                      : "Binary Files (*.bin)|*.bin|All Files (*.*)|*.*";
  dialog.FileName = params_.activeFile;
  dialog.CancelError = true;
  try {
    dialog.ShowOpen();
  } catch (const platform::RunTimeError&) {
    return;
  }
  SetActiveFile(QString::fromStdString(dialog.FileName));
}

bool Pelto::eventFilter(QObject* watched, QEvent* event) {
  PeltoPanel& p = *panel_;
  auto* box = qobject_cast<QLineEdit*>(watched);
  if (box == nullptr) return QWidget::eventFilter(watched, event);
  const bool param = box == p.Text_InstrSize || box == p.Text_NrOfBlocks || box == p.Text_BlockSize;
  if (event->type() == QEvent::FocusIn && param) {
    savedParamText_ = box->text();
    SetForeColor(box, kRed);
  } else if (event->type() == QEvent::FocusOut && box == p.Text1) {
    const bool open = box->text() == kAccessWord;
    p.Speed->setVisible(open);
    p.VPP->setVisible(open);
    box->clear();
  } else if (event->type() == QEvent::MouseButtonDblClick && box == p.Text_ActiveFile) {
    TakeTypedFile();
  } else if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool take = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab;
    if (take && box == p.Text_ActiveFile) {
      TakeTypedFile();
    } else if (take && param) {
      const int32_t value = platform::ParseDecimal(box->text().toStdString()).value_or(0);
      if (box == p.Text_InstrSize) params_.instructionSize = value;
      if (box == p.Text_NrOfBlocks) params_.nbOfBlocks = static_cast<short>(value);
      if (box == p.Text_BlockSize) params_.blockSize = static_cast<short>(value);
      RefreshParameters();
      SetForeColor(box, kBlack);
    } else if (key == Qt::Key_Escape && param) {
      box->setText(savedParamText_);
    }
  }
  return QWidget::eventFilter(watched, event);
}

void Pelto::TakeTypedFile() {
  params_.activeFile = panel_->Text_ActiveFile->text().toStdString();
  if (params_.activeFile.empty()) return;
  Reload();
}

}  // namespace pelto
