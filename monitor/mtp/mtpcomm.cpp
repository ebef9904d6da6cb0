#include "mtp/mtpcomm.h"

#include "core/link_state.h"
#include "core/monitor_state.h"
#include "core/settings/mdl_registry.h"
#include "core/settings/registry_layout.h"
#include "platform/messagebox.h"

namespace monitor {
namespace {

constexpr int kInBufferSize = 8192;
constexpr int kHandshakeTimeoutMs = 1000;

// The number's text behind one blank, as the settings keep it.
std::string Blanked(int32_t value) {
  std::string text = " ";
  text += std::to_string(value);
  return text;
}

std::string MtpCommKey() {
  return FindLayoutKey("MTPCOMM")->path;
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

MtpCommSettings ReadMtpCommSettings() {
  const std::string key = MtpCommKey();
  const auto read = [&](const char* name) {
    return RegGetSetting(platform::HKEY_LOCAL_MACHINE, key, name).AsNumber();
  };
  return {read("Com"), read("Baud Rate"), read("Buffed")};
}

void StoreMtpCommSettings(int32_t buffered, const std::string& baudText, int32_t com) {
  const std::string key = MtpCommKey();
  // A value is never stored into a missing key.
  RegCreateKeyPath(platform::HKEY_LOCAL_MACHINE, key);
  const auto store = [&](const char* name, const std::string& text) {
    RegSetSetting(platform::HKEY_LOCAL_MACHINE, key, name, text, platform::REG_SZ);
  };
  store("Buffed", Blanked(buffered));
  store("Baud Rate", baudText);
  store("Com", Blanked(com));
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
