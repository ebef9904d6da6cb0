#include "core/link_state.h"

#include "platform/messagebox.h"
#include "platform/serial_port.h"

namespace monitor {

LinkStep NextLinkState(int16_t state, int16_t event) {
  struct Rule {
    int16_t state, event, next;
    bool beep;
  };
  // Every failure beeps; the busy states end alike.
  // clang-format off
  static constexpr Rule kRules[] = {
      {kLinkIdle, kLinkEventClosed, kLinkClosed, false},
      {kLinkIdle, kLinkEventWordSend, kLinkSendingWord, false},
      {kLinkIdle, kLinkEventCommand, kLinkSendingBlock, false},
      {kLinkIdle, kLinkEventReceive, kLinkReceiving, false},
      {kLinkIdle, kLinkEventFailure, kLinkFailed, true},
      {kLinkIdle, kLinkEventPoll, kLinkHandshake, false},
      {kLinkClosed, kLinkEventOpened, kLinkIdle, false},
      {kLinkReceiving, kLinkEventDone, kLinkIdle, false},
      {kLinkReceiving, kLinkEventFailure, kLinkFailed, true},
      {kLinkReceiving, kLinkEventPoll, kLinkHandshake, false},
      {kLinkSendingBlock, kLinkEventDone, kLinkIdle, false},
      {kLinkSendingBlock, kLinkEventFailure, kLinkFailed, true},
      {kLinkSendingBlock, kLinkEventPoll, kLinkHandshake, false},
      {kLinkSendingWord, kLinkEventDone, kLinkIdle, false},
      {kLinkSendingWord, kLinkEventFailure, kLinkFailed, true},
      {kLinkSendingWord, kLinkEventPoll, kLinkHandshake, false},
      {kLinkHandshake, kLinkEventClosed, kLinkClosed, false},
      {kLinkHandshake, kLinkEventDone, kLinkIdle, false},
      {kLinkHandshake, kLinkEventFailure, kLinkFailed, true},
      {kLinkHandshake, kLinkEventPoll, kLinkFailed, true},
      {kLinkFailed, kLinkEventPoll, kLinkHandshake, false},
  };
  // clang-format on
  for (const Rule& rule : kRules) {
    if (rule.state == state && rule.event == event) return {rule.next, rule.beep};
  }
  return {state, false};
}

bool ReportHandshakeTimeout(int event) {
  const char* text = event == platform::SerialPort::kEventCtsTimeout
                         ? "CTS Time Out : hardware not responding, reset it"
                     : event == platform::SerialPort::kEventDsrTimeout
                         ? "DSR Time Out : transer ERROR, reset hardware"
                         : nullptr;
  if (text == nullptr) return false;
  platform::Beep();
  platform::MessageBox(text, "", platform::MB_OK | platform::MB_ICONEXCLAMATION);
  return true;
}

}  // namespace monitor
