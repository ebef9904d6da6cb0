// The panel's state machine: 0 not connected, 1 connected and idle, 2 busy
// with a task, 3 polling the socket (or held by a caller); 255 at creation.
// The general timer paces the socket poll once a poll period while idle and
// chains the automatic program and CRC steps.
#include "pelto.h"
#include "pelto_panel.h"
#include "pelto_pictures.h"
#include "platform/messagebox.h"

namespace pelto {
namespace {

constexpr char kProgrammingFailed[] = "Programming did not complete !";

}  // namespace

void Pelto::StartGeneralTimer(int task, int ms) {
  gralTask_ = task;
  StartTimer(Timer_GralTimeOut, gralTimedOut_, ms);
}

void Pelto::StopGeneralTimer() {
  Timer_GralTimeOut.SetEnabled(false);
}

void Pelto::OnGeneralTimer() {
  Timer_GralTimeOut.SetEnabled(false);
  gralTimedOut_ = true;
  if (gralTask_ == 1) {
    gralTask_ = 0;
    UpdateState(3, 5);
  } else if (gralTask_ == 6 || gralTask_ == 7) {
    StartTimer(Timer_SendTimeOut, sendTimedOut_, timings_.autoStart);
  } else {
    gralTask_ = 0;
  }
}

void Pelto::OnSendTimer() {
  Timer_SendTimeOut.SetEnabled(false);
  sendTimedOut_ = true;
  const int task = gralTask_;
  if (task != 6 && task != 7) return;
  gralTask_ = 0;
  UpdateState(2, task == 6 ? 2 : 3);
}

void Pelto::ShowConnected(bool connected) {
  ShowPicture(panel_->Button_Connect,
              connected ? PeltoPicture::Connected : PeltoPicture::Disconnected);
}

void Pelto::RestartPoll() {
  if (pendingAuto_ == 1) {
    StartGeneralTimer(6, timings_.poll);
  } else if (pendingAuto_ == 2) {
    StartGeneralTimer(7, timings_.autoCrcPoll);
  } else {
    StartGeneralTimer(1, timings_.poll);
  }
  pendingAuto_ = 0;
}

short Pelto::UpdateState(short newStatus, short task) {
  short result = 0;
  switch (state_) {
    case 255:
      if (newStatus == 0) {
        state_ = 1;
        UpdateState(0, 0);
      }
      break;
    case 0:
      if (newStatus == 1) {
        state_ = 1;
        result = 1;
        Connect();
      }
      break;
    case 1:
      if (newStatus == 0) {
        ClosePort();
        NotConnectedLook();
        state_ = 0;
      } else if (newStatus == 2) {
        StopGeneralTimer();
        BusyLook(true);
        state_ = 2;
        result = 2;
        RunTask(task);
      } else if (newStatus == 3) {
        state_ = 3;
        if (task == 5) {
          SocketPoll();
        } else {
          BusyLook(false);
        }
      } else if (newStatus == 4) {
        ClosePort();
        UpdateState(0, 0);
        platform::MessageBox("General Communication problem", "PELTO Programmer",
                             platform::MB_OK | platform::MB_ICONEXCLAMATION);
      }
      break;
    case 2:
      if (newStatus == 1) {
        IdleLook();
        CompareCrc();
        RestartPoll();
        state_ = 1;
        result = 1;
      } else if (newStatus == 4) {
        ClosePort();
        state_ = 1;
        UpdateState(0, 0);
      }
      break;
    case 3:
      if (newStatus == 1) {
        IdleLook();
        RestartPoll();
        state_ = 1;
        result = 1;
      } else if (newStatus == 4) {
        state_ = 1;
        UpdateState(4, 0);
      }
      break;
    default:
      break;
  }
  if (instructionSize_ == 22) {
    panel_->Speed->setEnabled(true);
    panel_->VPP->setEnabled(true);
  }
  return result;
}

void Pelto::Connect() {
  // A port that does not open has already left the panel not connected.
  if (OpenPort() != 0) return;
  if (SendFrame(WriteFrame(kDeviceCrcAddress, {0, 0, 0, 0})) < 0) {
    UpdateState(4, 0);
    return;
  }
  if (instructionSize_ == 22) {
    panel_->Speed->setEnabled(true);
    panel_->VPP->setEnabled(true);
    SendFrame(WriteFrame(kVppAddress, {static_cast<uint8_t>(panel_->Slider1->value())}));
    panel_->Selspeed[1]->setChecked(true);
    SendFrame(WriteFrame(kClockAddress, {1}));
  }
  if (state_ != 1) return;
  if (RequestDevCRC() == 0 && state_ == 1 && GetPELTOStatus() == 0) {
    IdleLook();
    CompareCrc();
    StartGeneralTimer(1, timings_.poll);
    return;
  }
  // A programmer that never finishes its CRC is a failed link as well.
  if (state_ == 1) UpdateState(4, 0);
}

void Pelto::SocketPoll() {
  PeltoPanel& p = *panel_;
  if (LineIsDown()) {
    UpdateState(4, 0);
    return;
  }
  const short chip = ChipTest();
  if (chip < 0) {
    UpdateState(4, 0);
    return;
  }
  ShowPicture(p.Pict_ChipPresent, chip == 0 ? PeltoPicture::ChipNone : PeltoPicture::ChipPresent);
  for (QPushButton* button : {p.Button_Program, p.Button_ReadDevCRC, p.Button_LastInstruction}) {
    button->setEnabled(chip != 0);
  }
  if (chip == 3) pendingAuto_ = autoProgram_ ? 1 : autoCrc_ ? 2 : 0;
  UpdateState(1, 0);
}

void Pelto::RunTask(int task) {
  PeltoPanel& p = *panel_;
  switch (task) {
    case 1: {
      if (UpdateROMParams() == -1 || UpdateROMData() == -1) {
        platform::MessageBox("could not download program", "PELTO Programmer",
                             platform::MB_OK | platform::MB_ICONEXCLAMATION);
      } else if (RequestRAMCRC() != -1 && GetPELTOStatus() != -1) {
        UpdateState(1, 0);
      }
      break;
    }
    case 2: {
      SetForeColor(p.Text_CRCDevice, kOlive);
      if (ProgramDevice() != 0) {
        // A link that failed while programming leaves the panel not connected;
        // a programming that never completed leaves it idle with its failure.
        if (state_ == 0) return;
        IdleLook();
        RestartPoll();
        state_ = 1;
        return;
      }
      state_ = 1;
      UpdateState(2, 3);
      break;
    }
    case 3: {
      SetForeColor(p.Text_CRCDevice, kOlive);
      SendFrame(WriteFrame(kDeviceCrcAddress, {0, 0, 0, 0}));
      RequestDevCRC();
      if (GetPELTOStatus() != 0) {
        platform::MessageBox("could not read the PELTO Status", "PELTO Programmer",
                             platform::MB_OK | platform::MB_ICONEXCLAMATION);
        UpdateState(4, 0);
      } else {
        SetForeColor(p.Text_CRCDevice, kNavy);
      }
      UpdateState(1, 0);
      break;
    }
    case 6: {
      p.Text_LastInstruction->clear();
      RequestLastInstruction();
      if (GetPELTOStatus() != 0) {
        platform::MessageBox("could not read Last Instruction", "PELTO Programmer",
                             platform::MB_OK | platform::MB_ICONEXCLAMATION);
      }
      UpdateState(1, 0);
      break;
    }
    default:
      break;
  }
  // Whatever failed, a task never leaves the panel busy.
  if (state_ == 2) UpdateState(1, 0);
}

void Pelto::CompareCrc() {
  PeltoPanel& p = *panel_;
  const QString master = p.Text_CRCMaster->text();
  if (master != p.Text_CRCBox->text() || master != p.Text_CRCDevice->text()) {
    ShowPicture(p.Pict_TraficLight, PeltoPicture::LightRed);
    SetForeColor(p.Text_Status, kRed);
    SetForeColor(p.Text_CRCDevice, kRed);
    p.Text_Status->setText("CRC Error !");
  } else {
    ShowPicture(p.Pict_TraficLight, PeltoPicture::LightGreen);
    SetForeColor(p.Text_Status, kBlack);
    p.Text_Status->clear();
    SetForeColor(p.Text_CRCDevice, kNavy);
  }
}

void Pelto::ShowProgrammingFailed() {
  PeltoPanel& p = *panel_;
  ShowPicture(p.Pict_TraficLight, PeltoPicture::LightRed);
  SetForeColor(p.Text_Status, kRed);
  p.Text_Status->setText(kProgrammingFailed);
  platform::MessageBox(kProgrammingFailed, "PELTO Programmer",
                       platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

void Pelto::NotConnectedLook() {
  PeltoPanel& p = *panel_;
  p.Option_OnLine->setEnabled(false);
  p.Option_StdAlone->setEnabled(false);
  for (QWidget* w : std::initializer_list<QWidget*>{p.Combo_CommSel, p.Combo_BaudSel,
                                                    p.Button_Browse, p.Button_Connect,
                                                    p.Button_Recalc, p.Text_ActiveFile}) {
    w->setEnabled(true);
  }
  for (QPushButton* b : {p.Button_Download, p.Button_Program, p.Button_ReadDevCRC,
                         p.Button_LastInstruction}) {
    b->setEnabled(false);
  }
  p.ProgBar->setValue(0);
  ShowPicture(p.Pict_ChipPresent, PeltoPicture::ChipUnknown);
}

void Pelto::IdleLook() {
  PeltoPanel& p = *panel_;
  for (QWidget* w : std::initializer_list<QWidget*>{
           p.Option_OnLine, p.Option_StdAlone, p.Button_Download, p.Button_Browse,
           p.Button_Connect, p.Button_Recalc, p.Text_ActiveFile}) {
    w->setEnabled(true);
  }
  p.Combo_CommSel->setEnabled(false);
  p.Combo_BaudSel->setEnabled(false);
  for (QPushButton* b : {p.Button_Program, p.Button_ReadDevCRC, p.Button_LastInstruction}) {
    b->setEnabled(chipIsPresent_);
  }
  p.ProgBar->setValue(0);
}

void Pelto::BusyLook(bool yellowLight) {
  PeltoPanel& p = *panel_;
  if (yellowLight) ShowPicture(p.Pict_TraficLight, PeltoPicture::LightYellow);
  for (QWidget* w : std::initializer_list<QWidget*>{
           p.Option_OnLine, p.Option_StdAlone, p.Button_Connect, p.Button_Download,
           p.Button_Program, p.Button_ReadDevCRC, p.Button_Recalc, p.Button_LastInstruction,
           p.Button_Browse, p.Text_ActiveFile, p.Text_InstrSize,
           p.Text_NrOfBlocks, p.Text_BlockSize}) {
    w->setEnabled(false);
  }
}

}  // namespace pelto
