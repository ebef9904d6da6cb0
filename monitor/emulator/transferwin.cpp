#include "emulator/transferwin.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>

#include "core/link_settings_window.h"
#include "core/monitor_state.h"
#include "emulator/comm_settings.h"
#include "emulator/emulator_commands.h"
#include "emulator/emulator_link.h"
#include "emulator/emulator_session.h"
#include "platform/controls.h"
#include "platform/hooks.h"
#include "platform/named.h"
#include "platform/run_time_error.h"

namespace monitor {
namespace {

using platform::Named;

constexpr int kRates[] = {2400, 9600, 14400, 19200, 38400};

}  // namespace

Transferwin::Transferwin(MonitorState& state, EmulatorLink& link)
    : platform::Form("transferwin"), state_(state), link_(link) {
  SetCaption("ICE Serial Interface Parameters");
  auto* body = new QWidget(this);
  auto* grid = new QGridLayout(body);
  comCombo = Named(new QComboBox(body), "comCombo");
  baudcombo = Named(new QComboBox(body), "baudcombo");
  Buffcheck = Named(new QCheckBox("Buffered", body), "Buffcheck");
  DTRCheck = Named(new QCheckBox("DTR", body), "DTRCheck");
  RTSCheck = Named(new QCheckBox("RTS", body), "RTSCheck");
  CTSCheck = Named(new QCheckBox("CTS", body), "CTSCheck");
  DSRCheck = Named(new QCheckBox("DSR", body), "DSRCheck");
  OKCommand = Named(new QPushButton("&OK", body), "OKCommand");
  CancelCommand = Named(new QPushButton("&Cancel", body), "CancelCommand");
  resetcommand = Named(new QPushButton("&Reset", body), "resetcommand");
  grid->addWidget(new QLabel("COM Port", body), 0, 0);
  grid->addWidget(new QLabel("Baud Rate", body), 0, 1);
  grid->addWidget(comCombo, 1, 0);
  grid->addWidget(baudcombo, 1, 1);
  grid->addWidget(Buffcheck, 2, 0);
  grid->addWidget(DTRCheck, 3, 0);
  grid->addWidget(RTSCheck, 3, 1);
  grid->addWidget(CTSCheck, 4, 0);
  grid->addWidget(DSRCheck, 4, 1);
  grid->addWidget(OKCommand, 5, 0);
  grid->addWidget(CancelCommand, 5, 1);
  grid->addWidget(resetcommand, 6, 0);
  setCentralWidget(body);
  SetDialogButtons(OKCommand, CancelCommand);

  const auto guarded = [](auto body) { return [body] { platform::GuardedCall(body); }; };
  connect(OKCommand, &QPushButton::clicked, this, guarded([this] { OKCommand_Click(); }));
  connect(CancelCommand, &QPushButton::clicked, this, guarded([this] { CancelCommand_Click(); }));
  connect(resetcommand, &QPushButton::clicked, this, guarded([this] { resetcommand_Click(); }));
  connect(Buffcheck, &QCheckBox::clicked, this, [this] {
    state_.LinkBuffered = static_cast<int16_t>(platform::ButtonValue(*Buffcheck));
  });
  connect(DTRCheck, &QCheckBox::clicked, this,
          guarded([this] { link_.Comm().SetDTREnable(platform::ButtonValue(*DTRCheck) != 0); }));
  connect(RTSCheck, &QCheckBox::clicked, this,
          guarded([this] { link_.Comm().SetRTSEnable(platform::ButtonValue(*RTSCheck) != 0); }));
  // The input lines' boxes only show the lines.
  connect(CTSCheck, &QCheckBox::clicked, this,
          [this] { TickBox(*CTSCheck, link_.Port().CTSHolding()); });
  connect(DSRCheck, &QCheckBox::clicked, this,
          [this] { TickBox(*DSRCheck, link_.Port().DSRHolding()); });
}

Transferwin* Transferwin::Loaded(const MonitorState& state) {
  return dynamic_cast<Transferwin*>(state.Forms.Get("transferwin"));
}

void Transferwin::OnLoad() {
  platform::SerialPort& port = link_.Port();
  port.SetOnComm([this] { Comm_OnComm(); });
  // A window deleted without its unload (the monitor's end) ticks nothing.
  link_.SetOnOpen([window = QPointer<Transferwin>(this)] {
    if (window) window->TickOutputLines();
  });
  state_.LinkState = kLinkClosed;
  link_.ClearTimeout();

  const LinkSettings stored = ReadCommSettings();
  state_.LinkBuffered = static_cast<int16_t>(stored.buffered);
  link_.SetBaudRate(stored.baud);
  link_.SetPortNumber(static_cast<int16_t>(stored.com + 1));
  ShowLinkSettings(stored, kRates, *comCombo, *baudcombo, *Buffcheck);

  loadedCom_ = comCombo->currentIndex();
  loadedBaud_ = baudcombo->currentIndex();
  if (loadedCom_ >= 0 && loadedBaud_ >= 0) {
    // A port that does not open stays closed (LinkState 2); the next open
    // that a command or OK asks for reports why.
    try {
      link_.OpenPort();
    } catch (const std::exception&) {
    }
  }
  // A closed port shows its input lines off.
  TickBox(*CTSCheck, port.CTSHolding());
  TickBox(*DSRCheck, port.DSRHolding());
  TickOutputLines();
}

void Transferwin::OnUnload() {
  link_.Port().SetOnComm(nullptr);
  link_.SetOnOpen(nullptr);
}

void Transferwin::TickOutputLines() {
  platform::SerialPort& port = link_.Port();
  TickBox(*DTRCheck, port.DTREnable());
  TickBox(*RTSCheck, port.RTSEnable());
}

void Transferwin::closeEvent(QCloseEvent* event) {
  event->ignore();
  Outer()->hide();
}

void Transferwin::ReportPortError(int number) {
  const char* text = number == platform::SerialPort::kErrInvalidSettings ? "Invalid Baud rate"
                     : number == platform::SerialPort::kErrInvalidPort   ? "Invalid COM port"
                                                                         : "Port unavailable";
  platform::MessageBox(text, "", platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

void Transferwin::OKCommand_Click() {
  // Without both entries nothing is stored and the port stays as it is.
  if (comCombo->currentIndex() < 0 || baudcombo->currentIndex() < 0) return;
  if (state_.LinkState != kLinkClosed) link_.ClosePort();
  const int16_t keptPort = link_.PortNumber();
  const int32_t keptBaud = link_.BaudRate();
  try {
    link_.SetPortNumber(static_cast<int16_t>(comCombo->currentIndex() + 1));
    link_.SetBaudRate(baudcombo->currentText().toInt());
    link_.OpenPort();
  } catch (const std::exception& error) {
    const auto* numbered = dynamic_cast<const platform::RunTimeError*>(&error);
    ReportPortError(numbered != nullptr ? numbered->Number() : 0);
    link_.ClosePort();
    link_.SetPortNumber(keptPort);
    link_.SetBaudRate(keptBaud);
    // The old port may fail as well: it then stays closed, without a
    // second message.
    try {
      link_.OpenPort();
    } catch (const std::exception&) {
      link_.ClosePort();
    }
    comCombo->setCurrentIndex(loadedCom_);
    baudcombo->setCurrentIndex(loadedBaud_);
  }
  StoreCommSettings({comCombo->currentIndex(), link_.BaudRate(), state_.LinkBuffered});
  Outer()->hide();
}

void Transferwin::CancelCommand_Click() {
  comCombo->setCurrentIndex(loadedCom_);
  baudcombo->setCurrentIndex(loadedBaud_);
  Outer()->hide();
}

void Transferwin::resetcommand_Click() {
  link_.PollEmulator();
}

void Transferwin::Comm_OnComm() {
  // An error inside the handler ends it.
  try {
    platform::SerialPort& port = link_.Port();
    switch (port.CommEvent()) {
      case platform::SerialPort::kEventCts:
        TickBox(*CTSCheck, port.CTSHolding());
        break;
      case platform::SerialPort::kEventDsr: {
        const bool dsr = port.DSRHolding();
        TickBox(*DSRCheck, dsr);
        // The handshake drops DSR on purpose.
        if (!dsr && state_.LinkState != kLinkHandshake) {
          if (port.CTSHolding()) {
            CloseEmulatorSession(link_);
          } else {
            link_.SetLinkState(kLinkEventFailure);
          }
        }
        break;
      }
      case platform::SerialPort::kEventCd:
        NextEmulatorState(state_, port.CDHolding() ? 6 : 13);
        break;
      default:
        ReportHandshakeTimeout(port.CommEvent());
        break;
    }
  } catch (const std::exception&) {
  }
}

}  // namespace monitor
