#pragma once
// The in-circuit emulator's serial link: the port, the link state machine,
// the 3-byte units of every message, block reads and writes of emulator
// memory, the command word, the DTR/DSR reset handshake and the time-outs.
//
// A unit packs a (0..16383), b (0..255) and a 2-bit tag as
//   byte 0 = (a AND 63) * 4 + tag, byte 1 = a \ 64, byte 2 = b
// with tag 0 a read request (b units from a), tag 1 a command word (a) and
// tag 2 a write header followed by exactly b raw units.
//
// Its state is MonitorState::LinkState, moved by the table of
// core/link_state.h.
//
// Every wait is the serial exchange's (platform/serial_exchange.h): events
// run inside it (port events, timer ticks and user commands) and it blocks
// about 1 ms per pass when nothing is ready.
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/link_state.h"
#include "platform/serial_exchange.h"
#include "platform/serial_port.h"

namespace monitor {

class MonitorState;

// The link's times, in one place so tests can shorten them.
struct LinkTimings {
  int sendUnitMs = 300;      // per unit (unbuffered) or byte (buffered) while sending
  int readUnitMs = 100;      // per unit of a read chunk
  int handshakeMs = 3000;    // per phase of the reset handshake
  int resetDsrMs = 1000;     // for DSR after the emulator's reset
  int openDelayMs = 50;      // before the port opens
  int pacingMicros = 50;     // pause after every write
  int drainMarginMs = 2000;  // added to a block's transmit time while the output drains
};

// One unit; run-time error 6 when a is outside 0..16383 or b outside 0..255.
std::array<uint8_t, 3> PackUnit(int32_t a, int tag, int32_t b);

// "baud=<n> parity=N data=8 stop=1".
std::string LinkSettingsText(int32_t baud);

class EmulatorLink {
 public:
  static constexpr int kMaxBlockUnits = 255;

  explicit EmulatorLink(MonitorState& state);
  ~EmulatorLink();
  EmulatorLink(const EmulatorLink&) = delete;
  EmulatorLink& operator=(const EmulatorLink&) = delete;

  LinkTimings& Timings() { return timings_; }
  // The monitor the link serves; the session's commands take the link and
  // reach the state through it.
  MonitorState& State() const { return state_; }

  // The port and the time-out timer. The first use loads the settings window
  // hidden; its load is the link's start-up (LinkState 2, the settings read,
  // the port opened).
  platform::SerialPort& Comm();
  QTimer& Timeouttimer();
  // The port without the start-up, for the settings window itself.
  platform::SerialPort& Port() { return port_; }

  // COM port 1..4 and the rate the next open uses.
  int16_t PortNumber() const { return portNumber_; }
  void SetPortNumber(int16_t port) { portNumber_ = port; }
  int32_t BaudRate() const { return baudRate_; }
  void SetBaudRate(int32_t baud) { baudRate_ = baud; }

  void SetLinkState(int16_t event);
  // Only in state 2: opens the port with the stored number and rate, DTR and
  // RTS on, then event 1. Port errors go to the caller.
  void OpenPort();
  // Closes the port when open; event 2 in every case.
  void ClosePort();
  // Opens the port with the stored settings, without the pause before the
  // open and without a link event (the state stays 2).
  void OpenPortQuietly();
  // Runs after every open has set DTR and RTS on: the settings window ticks
  // its boxes of the two lines while it is loaded. Null for nobody.
  void SetOnOpen(std::function<void()> handler) { onOpen_ = std::move(handler); }
  // Runs when the reset handshake times out, before the port is closed: the
  // session above the link ends (BindEmulatorLink binds it). Null for nobody.
  void SetOnHandshakeTimeout(std::function<void()> handler) {
    onHandshakeTimeout_ = std::move(handler);
  }

  void StartLinkTimeout(int ms);
  // True once after the timer fired.
  bool LinkTimedOut();
  // The time-out started, with an end on the monotonic clock behind it: a
  // handler that runs inside the wait may restart or consume the shared
  // timer, and the wait must still end.
  platform::Deadline StartTimeout(int ms);
  bool TimedOut(const platform::Deadline& deadline);
  void ClearTimeout();
  // 1 when CD is on (the emulator is halted), else 0.
  int16_t ReadPortSignal();

  // Reads count units from address on, in chunks of 255; the input is
  // emptied before each request. kErrNoAnswer when a reply is short after
  // chunk * readUnitMs or longer than asked (the link is then failed).
  // Nothing when the link refuses.
  std::optional<std::vector<uint8_t>> ReceiveData(int32_t address, int32_t count);
  // Writes the bytes paced by the handshake lines: true when sent, false
  // after the send time-out's message. The link state stays as it was.
  [[nodiscard]] bool SendBytes(const std::vector<uint8_t>& bytes);
  // A read request (tag 0) and a write header (tag 2), sent as SendBytes.
  bool SendValue(int32_t a, int32_t b);
  bool SendValueEx(int32_t a, int32_t b);
  // The command word, only while idle; false when refused or not sent (a
  // failed send fails the link). A drain that does not end in time fails
  // the link and raises kErrSendTimeout.
  bool SendWord(int32_t value);
  // Writes a data block from address on, 255 units per header. The first
  // failed send fails the link and ends the block. True when all was sent;
  // false also when the link refused (busy, closed or failed).
  bool SendCommand(int32_t address, const std::vector<uint8_t>& data);
  // The DTR/DSR reset handshake. When DSR does not follow within the phase
  // time the session is disconnected and the port closed.
  void PollEmulator();

 private:
  // The stored settings, the pause, the open, DTR and RTS on and ticked.
  void Open(int pauseMs);
  // False when the output did not empty within the transmit time of `bytes`
  // plus the drain margin.
  bool DrainOutput(size_t bytes);
  void HandshakeTimedOut();

  MonitorState& state_;
  LinkTimings timings_;
  platform::SerialPort port_;
  QTimer timer_;
  bool timedOut_ = false;
  std::function<void()> onOpen_;
  std::function<void()> onHandshakeTimeout_;
  int16_t portNumber_ = 0;
  int32_t baudRate_ = 0;
};

}  // namespace monitor
