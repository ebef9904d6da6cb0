// What the panel's controls do when the user acts on them.
#include <QEvent>
#include <QKeyEvent>

#include "pelto.h"
#include "pelto_folders.h"
#include "pelto_panel.h"
#include "pelto_pictures.h"
#include "platform/hooks.h"
#include "platform/run_time_error.h"
#include "settings/mdl_registry.h"

namespace pelto {
namespace {

constexpr char kAccessWord[] = "QV72xx";

}  // namespace

void Pelto::InitPanel() {
  PeltoPanel& p = *panel_;
  Timer_GralTimeOut.onTimer = [this] { OnGeneralTimer(); };
  Timer_SendTimeOut.onTimer = [this] { OnSendTimer(); };
  RS232.SetOnComm([this] { OnComm(); });
  ShowPicture(p.Button_Program, PeltoPicture::AutoProgramOff);
  ShowPicture(p.Button_ReadDevCRC, PeltoPicture::AutoCrcOff);
  ShowPicture(p.Pict_TraficLight, PeltoPicture::LightYellow);

  connect(p.Button_Connect, &QPushButton::clicked, this, [this] {
    if (state_ == 0) {
      UpdateState(1, 0);
    } else if (state_ == 1) {
      UpdateState(0, 0);
    }
  });
  const std::pair<QPushButton*, short> tasks[] = {
      {p.Button_Download, 1}, {p.Button_Program, 2}, {p.Button_ReadDevCRC, 3}};
  for (auto [button, task] : tasks) {
    connect(button, &QPushButton::clicked, this, [this, task = task] {
      panel_->VPP->setEnabled(false);
      panel_->Speed->setEnabled(false);
      UpdateState(2, task);
    });
  }
  connect(p.Button_LastInstruction, &QPushButton::clicked, this, [this] { UpdateState(2, 6); });
  connect(p.Button_Recalc, &QPushButton::clicked, this, [this] {
    ForgetConversion();
    LoadRomFile();
  });
  connect(p.Option_OnLine, &QRadioButton::clicked, this,
          [this] { WriteInState1(protocol::CommandFrame(protocol::kCommandOnline)); });
  connect(p.Option_StdAlone, &QRadioButton::clicked, this,
          [this] { WriteInState1(protocol::CommandFrame(protocol::kCommandStandalone)); });
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
  automation(p.Check_AutoProg, p.Check_AutoCRC, autoProgram_, p.Button_Program,
             PeltoPicture::AutoProgramOn, PeltoPicture::AutoProgramOff);
  automation(p.Check_AutoCRC, p.Check_AutoProg, autoCrc_, p.Button_ReadDevCRC,
             PeltoPicture::AutoCrcOn, PeltoPicture::AutoCrcOff);
  connect(p.Combo_CommSel, &QComboBox::activated, this,
          [this](int index) { commPortNr_ = static_cast<short>(index + 1); });
  connect(p.Combo_BaudSel, &QComboBox::activated, this,
          [this] { baudRate_ = panel_->Combo_BaudSel->currentText().toInt(); });
  connect(p.Combo_Target, &QComboBox::activated, this, [this] { SelectTarget(); });
  connect(p.Button_Browse, &QPushButton::clicked, this, [this] { Browse(); });
  connect(p.Button_Index, &QPushButton::clicked, this,
          [this] { platform::OpenHelp(systemFolder_ + "Peltoprog.hlp", 15); });
  connect(p.Button_About, &QPushButton::clicked, this, [] {
    platform::MessageBox("PELTO Programmer Control", "About PELTO Programmer", platform::MB_OK);
  });
  for (int i = 0; i < 4; ++i) {
    connect(p.Selspeed[i], &QRadioButton::clicked, this, [this, i] {
      WriteInState1(protocol::WriteFrame(protocol::kClockAddress, {static_cast<uint8_t>(i)}));
    });
  }
  connect(p.Slider1, &QSlider::valueChanged, this, [this](int position) {
    panel_->glVtn->setText(QString::number(13 + position / 2.0));
    WriteInState1(protocol::WriteFrame(protocol::kVppAddress, {static_cast<uint8_t>(position)}));
  });
  for (QWidget* box : std::initializer_list<QWidget*>{p.Text_ActiveFile, p.Text_InstrSize,
                                                      p.Text_NrOfBlocks, p.Text_BlockSize,
                                                      p.Text1}) {
    box->installEventFilter(this);
  }
}

void Pelto::WriteInState1(const Bytes& frame) {
  if (state_ == 1) SendFrame(frame);
}

void Pelto::OnComm() {
  const int event = RS232.CommEvent();
  const char* text = event == platform::SerialPort::kEventCtsTimeout
                         ? "CTS Time Out : hardware not responding, reset it"
                     : event == platform::SerialPort::kEventDsrTimeout
                         ? "DSR Time Out : hardware not responding, reset it"
                         : nullptr;
  if (text == nullptr) return;
  platform::MessageBox(text, "PELTO Programmer", platform::MB_OK | platform::MB_ICONEXCLAMATION);
  UpdateState(4, 0);
}

void Pelto::Browse() {
  platform::CommonDialog dialog("CommonDialog1", this);
  dialog.Filter = instructionSize_ == 18 || instructionSize_ == 22
                      ? "ROM Files (*.rom)|*.rom|ROM-Binary Files (*.rob)|*.rob|All Files (*.*)|*.*"
                      : "Binary Files (*.bin)|*.bin|All Files (*.*)|*.*";
  dialog.FileName = activeFile_.toStdString();
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
      const int32_t value = monitor::ParseDecimal(box->text().toStdString()).value_or(0);
      if (box == p.Text_InstrSize) instructionSize_ = value;
      if (box == p.Text_NrOfBlocks) nbOfBlocks_ = static_cast<short>(value);
      if (box == p.Text_BlockSize) blockSize_ = static_cast<short>(value);
      RefreshParameters();
      SetForeColor(box, kBlack);
    } else if (key == Qt::Key_Escape && param) {
      box->setText(savedParamText_);
    }
  }
  return QWidget::eventFilter(watched, event);
}

void Pelto::TakeTypedFile() {
  activeFile_ = panel_->Text_ActiveFile->text();
  if (activeFile_.isEmpty()) return;
  ForgetConversion();
  LoadRomFile();
}

}  // namespace pelto
