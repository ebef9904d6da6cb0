#pragma once
// The state machine of a serial link to a device, shared by the emulator's
// link (MonitorState::LinkState) and the programmer's link
// (MtpComm::ProgrammerLinkState). Each operation sends its start event and
// does nothing unless that reached the state it expects: that is how a busy,
// closed or failed link refuses work. Only the poll event leaves a failed
// link.
#include <cstdint>

namespace monitor {

enum LinkStateValue : int16_t {
  kLinkNotSetUp = 0,  // every event ignored
  kLinkIdle = 1,
  kLinkClosed = 2,  // the port closed
  kLinkReceiving = 3,
  kLinkSendingBlock = 4,
  kLinkHandshake = 5,
  kLinkSendingWord = 6,
  kLinkFailed = 7,
};

enum LinkEvent : int16_t {
  kLinkEventOpened = 1,
  kLinkEventClosed = 2,
  kLinkEventWordSend = 3,
  kLinkEventCommand = 4,
  kLinkEventReceive = 5,
  kLinkEventDone = 6,
  kLinkEventFailure = 7,
  kLinkEventPoll = 8,
};

// The link state after an event, and whether the failure beeps.
struct LinkStep {
  int16_t state;
  bool beep;
};
// State 0 and every pair not in the table keep the state, silently.
LinkStep NextLinkState(int16_t state, int16_t event);

// The port's handshake time-out events (1002 CTS, 1003 DSR): a beep and the
// box. False for any other event.
bool ReportHandshakeTimeout(int event);

}  // namespace monitor
