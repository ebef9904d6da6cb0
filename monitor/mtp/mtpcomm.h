#pragma once
// The module MTPCOMM_: the programmer link's state, its port and time-out
// timer, the link's open and close, and its settings in the registry
// (HKEY_LOCAL_MACHINE, SOFTWARE\Corvane\Tavix\MTPCOMM, three text values;
// core/settings/link_settings.h).
//
// The link owns the port and the timer, so they live as long as the link;
// the settings window MTPCOMM_FORM shows them. The panel's look on open and
// close goes through the hooks the panel sets while it is loaded.
//
// The state word follows the link table of core/link_state.h: 2 after
// the settings window loads and after every close, 1 after an open, 7 after
// DSR and CTS dropped together (with a beep); only the window's next load
// leaves 7.
#include <cstdint>
#include <functional>
#include <string>

#include "core/link_state.h"
#include "core/settings/link_settings.h"
#include "platform/controls.h"
#include "platform/serial_port.h"

namespace monitor {

class MonitorState;

// The programmer's waits, in one place so tests can shorten them.
struct MtpTimings {
  int dsrWaitMs = 300;        // a send waits this long for DSR
  int readMs = 5000;          // a read waits this long for its whole answer
  int pollMs = 1000;          // between the polls of a running command
  int bufferedPauseMicros = 10;  // after every byte in buffered mode
};

LinkSettings ReadMtpCommSettings();
void CreateMtpCommKey();
// Creates the key when missing; writes "Buffed", "Baud Rate" and "Com" as
// texts: " <buffered>", the rate's list text, " <com>".
void StoreMtpCommSettings(int32_t buffered, const std::string& baudText, int32_t com);

class MtpComm {
 public:
  explicit MtpComm(MonitorState& state);
  ~MtpComm();
  MtpComm(const MtpComm&) = delete;
  MtpComm& operator=(const MtpComm&) = delete;

  MonitorState& State() { return state_; }
  MtpTimings Timings;

  int16_t ProgrammerLinkState = kLinkNotSetUp;
  int16_t ProgrammerPort = 1;
  int32_t ProgrammerBaud = 0;
  int16_t ProgrammerBuffered = 0;
  int16_t ProgrammerTimeoutFlag = 0;

  platform::SerialPort MTP_comm;
  platform::Timer MTP_Timeouttimer;

  // The panel's look while it is loaded (the hooks are empty otherwise):
  // disconnected; connected (before the status read); and the transfer
  // buttons after the status read.
  std::function<void()> ShowDisconnected, ShowConnected, ShowTransferButtons;
  // Reads and shows the programmer's status (bound by the protocol module).
  std::function<void()> ShowProgrammerStatus;
  // The settings window's DTR and RTS boxes, ticked after an open.
  std::function<void()> TickOutputLines;

  // Opens the link in state 2 (nothing in any other state). A port error
  // ends it without a message, what was done so far stays.
  void ToggleProgrammerConnection();
  // The panel's disconnected look, the port closed, event 2. Port errors go
  // to the caller.
  void DisconnectProgrammer();
  void StartProgrammerTimeout(int ms);
  void SetProgrammerLinkState(int16_t event);
  // The port's line events: DSR low with CTS high closes the link, with CTS
  // low too it fails (7); the two handshake time-outs beep and say so.
  void OnLineEvent(int event);

 private:
  MonitorState& state_;
};

// " 9600,N,8,1": the rate with one leading blank.
std::string MtpSettingsText(int32_t baud);

}  // namespace monitor
