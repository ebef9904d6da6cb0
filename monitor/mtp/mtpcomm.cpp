#include "mtp/mtpcomm.h"

#include "core/link_state.h"
#include "platform/messagebox.h"

namespace monitor {
namespace {

constexpr char kMtpCommKey[] = "MTPCOMM";
constexpr int kInBufferSize = 8192;
constexpr int kHandshakeTimeoutMs = 1000;

// The number's text behind one blank, as the settings keep it.
std::string Blanked(int32_t value) {
  std::string text = " ";
  text += std::to_string(value);
  return text;
}

// Runs one statement; a port error ends only that statement.
template <class Body>
void Skipping(Body body) {
  try {
    body();
  } catch (const std::exception&) {
  }
}

}  // namespace

LinkSettings ReadMtpCommSettings() {
  return ReadLinkSettings(kMtpCommKey);
}

void CreateMtpCommKey() {
  CreateLinkSettingsKey(kMtpCommKey);
}

void StoreMtpCommSettings(int32_t buffered, const std::string& baudText, int32_t com) {
  StoreLinkSettings(kMtpCommKey, {Blanked(buffered), baudText, Blanked(com)});
}

std::string MtpSettingsText(int32_t baud) {
  return Blanked(baud) + ",N,8,1";
}

MtpComm::MtpComm(MonitorState& state) : state_(state) {
  MTP_Timeouttimer.SetEnabled(false);
  MTP_Timeouttimer.onTimer = [this] {
    ProgrammerTimeoutFlag = -1;
    MTP_Timeouttimer.SetEnabled(false);
  };
}

MtpComm::~MtpComm() {
  MTP_comm.SetOnComm(nullptr);
}

void MtpComm::SetProgrammerLinkState(int16_t event) {
  const LinkStep next = NextLinkState(ProgrammerLinkState, event);
  ProgrammerLinkState = next.state;
  if (next.beep) platform::Beep();
}

void MtpComm::StartProgrammerTimeout(int ms) {
  ProgrammerTimeoutFlag = 0;
  MTP_Timeouttimer.SetInterval(ms);
  MTP_Timeouttimer.SetEnabled(true);
}

void MtpComm::DisconnectProgrammer() {
  if (ShowDisconnected) ShowDisconnected();
  if (MTP_comm.PortOpen()) MTP_comm.SetPortOpen(false);
  SetProgrammerLinkState(kLinkEventClosed);
}

void MtpComm::ToggleProgrammerConnection() {
  if (ProgrammerLinkState != kLinkClosed) return;
  try {
    DisconnectProgrammer();
    platform::SerialPort& port = MTP_comm;
    port.SetSettings(MtpSettingsText(ProgrammerBaud));
    if (port.PortOpen()) port.SetPortOpen(false);
    port.SetInBufferSize(kInBufferSize);
    port.SetCommPort(ProgrammerPort);
    port.SetPortOpen(true);
    port.SetDTREnable(true);
    port.SetRTSEnable(true);
    if (TickOutputLines) TickOutputLines();
    port.SetCTSTimeout(kHandshakeTimeoutMs);
    port.SetDSRTimeout(kHandshakeTimeoutMs);
    if (ShowConnected) ShowConnected();
    SetProgrammerLinkState(kLinkEventOpened);
    if (ShowProgrammerStatus) ShowProgrammerStatus();
    if (ShowTransferButtons) ShowTransferButtons();
  } catch (const std::exception&) {
  }
}

void MtpComm::OnLineEvent(int event) {
  platform::SerialPort& port = MTP_comm;
  switch (event) {
    case platform::SerialPort::kEventDsr:
      Skipping([&] {
        if (port.DSRHolding()) return;
        if (port.CTSHolding()) {
          DisconnectProgrammer();
        } else {
          SetProgrammerLinkState(kLinkEventFailure);
        }
      });
      break;
    default:
      ReportHandshakeTimeout(event);
      break;
  }
}

}  // namespace monitor
