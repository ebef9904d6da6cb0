#include "mtp/mtpcomm_form.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

#include "core/link_settings_window.h"
#include "mtp/mtpcomm.h"
#include "platform/controls.h"
#include "platform/hooks.h"
#include "platform/named.h"

namespace monitor {

using platform::Named;

namespace {

constexpr int kRates[] = {2400, 9600, 14400, 19200};

QGroupBox* Frame(const char* name, const char* caption, QWidget* parent,
                 std::initializer_list<QWidget*> children) {
  auto* frame = Named(new QGroupBox(caption, parent), name);
  auto* layout = new QVBoxLayout(frame);
  for (QWidget* child : children) layout->addWidget(child);
  return frame;
}

}  // namespace

MtpCommForm::MtpCommForm(MtpComm& comm) : platform::Form("MTPCOMM_FORM"), comm_(comm) {
  SetCaption("MTP Serial Interface Parameters");
  auto* body = new QWidget(this);
  MTP_comCombo = Named(new QComboBox(body), "MTP_comCombo");
  MTP_baudcombo = Named(new QComboBox(body), "MTP_baudcombo");
  MTP_buffcheck = Named(new QCheckBox("Buffered", body), "MTP_buffcheck");
  MTP_RTSCheck = Named(new QCheckBox("RTS", body), "MTP_RTSCheck");
  MTP_DTRCheck = Named(new QCheckBox("DTR", body), "MTP_DTRCheck");
  MTP_ctscheck = Named(new QCheckBox("CTS", body), "MTP_ctscheck");
  MTP_DSRCheck = Named(new QCheckBox("DSR", body), "MTP_DSRCheck");
  MTP_OK = Named(new QPushButton("&OK", body), "MTP_OK");
  MTP_CANCEL = Named(new QPushButton("&Cancel", body), "MTP_CANCEL");
  MTP_RESET = Named(new QPushButton("&Default", body), "MTP_RESET");
  auto* grid = new QGridLayout(body);
  grid->addWidget(Frame("MTP_COM_FRAME", "COM Port", body, {MTP_comCombo}), 0, 0);
  grid->addWidget(Frame("MTP_BAUD_FRAME", "Baud Rate", body, {MTP_baudcombo}), 0, 1);
  grid->addWidget(Frame("MTP_BUFF_FRAME", "", body, {MTP_buffcheck}), 1, 0);
  grid->addWidget(Frame("MTP_STATE_FRAME", "State", body,
                        {MTP_RTSCheck, MTP_DTRCheck, MTP_ctscheck, MTP_DSRCheck}),
                  1, 1);
  grid->addWidget(MTP_OK, 2, 0);
  grid->addWidget(MTP_CANCEL, 2, 1);
  grid->addWidget(MTP_RESET, 3, 0);
  setCentralWidget(body);
  SetDialogButtons(MTP_OK, MTP_CANCEL);

  const auto guarded = [](auto body) { return [body] { platform::GuardedCall(body); }; };
  connect(MTP_OK, &QPushButton::clicked, this, guarded([this] { MTP_OK_Click(); }));
  connect(MTP_CANCEL, &QPushButton::clicked, this, guarded([this] { MTP_CANCEL_Click(); }));
  connect(MTP_RESET, &QPushButton::clicked, this, guarded([this] { MTP_RESET_Click(); }));
  connect(MTP_buffcheck, &QCheckBox::clicked, this, [this] {
    comm_.ProgrammerBuffered = static_cast<int16_t>(platform::ButtonValue(*MTP_buffcheck));
  });
  // The line boxes only show the lines: a click puts them back.
  for (QCheckBox* box : {MTP_RTSCheck, MTP_DTRCheck, MTP_ctscheck, MTP_DSRCheck})
    connect(box, &QCheckBox::clicked, this, [this] { platform::GuardedCall([this] { ShowLines(); }); });
}

void MtpCommForm::OnLoad() {
  comm_.MTP_comm.SetOnComm([this] { MTP_comm_OnComm(); });
  comm_.TickOutputLines = [this] {
    TickBox(*MTP_DTRCheck, true);
    TickBox(*MTP_RTSCheck, true);
  };
  comm_.ProgrammerLinkState = kLinkClosed;
  comm_.MTP_Timeouttimer.SetEnabled(false);
  CreateMtpCommKey();

  const LinkSettings stored = ReadMtpCommSettings();
  comm_.ProgrammerBuffered = static_cast<int16_t>(stored.buffered);
  comm_.ProgrammerBaud = stored.baud;
  comm_.ProgrammerPort = static_cast<int16_t>(stored.com + 1);
  ShowLinkSettings(stored, kRates, *MTP_comCombo, *MTP_baudcombo, *MTP_buffcheck);
  if (MTP_comCombo->currentIndex() >= 0 && MTP_baudcombo->currentIndex() >= 0)
    comm_.ToggleProgrammerConnection();
  TickBox(*MTP_RTSCheck, true);
  TickBox(*MTP_DTRCheck, true);
}

void MtpCommForm::OnUnload() {
  comm_.MTP_comm.SetOnComm(nullptr);
  comm_.TickOutputLines = nullptr;
}

void MtpCommForm::closeEvent(QCloseEvent* event) {
  event->ignore();
  Outer()->hide();
}

void MtpCommForm::ShowLines() {
  platform::SerialPort& port = comm_.MTP_comm;
  TickBox(*MTP_DTRCheck, port.DTREnable());
  TickBox(*MTP_RTSCheck, port.RTSEnable());
  TickBox(*MTP_ctscheck, port.CTSHolding());
  TickBox(*MTP_DSRCheck, port.DSRHolding());
}

void MtpCommForm::MTP_OK_Click() {
  const std::string keptSettings = comm_.MTP_comm.Settings();
  const int keptPort = comm_.MTP_comm.CommPort();
  const int keptCom = MTP_comCombo->currentIndex(), keptBaud = MTP_baudcombo->currentIndex();
  // A failed step is reported and undone, and OK goes on with the next one.
  const auto step = [&](auto body) {
    try {
      body();
    } catch (const std::exception&) {
      platform::MessageBox("Port unavailable", "", platform::MB_OK | platform::MB_ICONEXCLAMATION);
      try {
        if (comm_.MTP_comm.PortOpen()) comm_.MTP_comm.SetPortOpen(false);
        comm_.MTP_comm.SetSettings(keptSettings);
        comm_.MTP_comm.SetCommPort(keptPort);
      } catch (const std::exception&) {
      }
      MTP_comCombo->setCurrentIndex(keptCom);
      MTP_baudcombo->setCurrentIndex(keptBaud);
    }
  };
  step([&] {
    if (comm_.ProgrammerLinkState != kLinkClosed) comm_.DisconnectProgrammer();
  });
  step([&] {
    if (MTP_comCombo->currentIndex() < 0 || MTP_baudcombo->currentIndex() < 0) return;
    comm_.ProgrammerPort = static_cast<int16_t>(MTP_comCombo->currentIndex() + 1);
    comm_.ProgrammerBaud = MTP_baudcombo->currentText().toInt();
  });
  step([&] {
    StoreMtpCommSettings(comm_.ProgrammerBuffered, MTP_baudcombo->currentText().toStdString(),
                         MTP_comCombo->currentIndex());
  });
  Outer()->hide();
}

void MtpCommForm::MTP_CANCEL_Click() {
  Outer()->hide();
}

void MtpCommForm::MTP_RESET_Click() {
  // The box's change acts as its click would.
  TickBox(*MTP_buffcheck, false);
  comm_.ProgrammerBuffered = 0;
  MTP_baudcombo->setCurrentIndex(RateIndex(kRates, 19200));
  MTP_comCombo->setCurrentIndex(0);
  TickBox(*MTP_DTRCheck, true);
  TickBox(*MTP_RTSCheck, true);
  TickBox(*MTP_ctscheck, false);
  TickBox(*MTP_DSRCheck, false);
  comm_.DisconnectProgrammer();
}

void MtpCommForm::MTP_comm_OnComm() {
  platform::SerialPort& port = comm_.MTP_comm;
  const int event = port.CommEvent();
  try {
    if (event == platform::SerialPort::kEventCts) TickBox(*MTP_ctscheck, port.CTSHolding());
    if (event == platform::SerialPort::kEventDsr) TickBox(*MTP_DSRCheck, port.DSRHolding());
  } catch (const std::exception&) {
  }
  comm_.OnLineEvent(event);
}

}  // namespace monitor
