#pragma once
// The serial port control: one port with its settings, buffers, modem lines
// and communication event, used by the emulator link and the device
// programmer. Getters carry the member's name, setters Set<member>.
//
// Port n maps to the path in $TAVIX_COM<n> (default /dev/ttyS<n-1>). A
// terminal device is opened exclusively in raw mode; a Unix socket is a
// simulated device's endpoint (see platform/comm_side_channel.h), which hands
// over its pty so the data path is the same.
//
// Errors are platform::RunTimeError, numbered as the class names them:
// invalid port, invalid settings (or a rate the device refuses), port
// unavailable (busy, no permission, refused, the device went away, input or
// output while closed).
//
// No thread: bytes are written at once as far as the device takes them, the
// rest by a write notifier; input is pulled when readable and whenever the
// input is counted or read. Events are delivered from the owning thread's
// event processing, never from inside a call of the port.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class SerialPort {
 public:
  // CommEvent codes.
  static constexpr int kEventCts = 3;
  static constexpr int kEventDsr = 4;
  static constexpr int kEventCd = 5;
  static constexpr int kEventCtsTimeout = 1002;
  static constexpr int kEventDsrTimeout = 1003;

  // Error numbers.
  static constexpr int kErrInvalidPort = 31988;
  static constexpr int kErrInvalidSettings = 31989;
  static constexpr int kErrUnavailable = 31990;

  SerialPort();
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // 1..99; takes effect at the next open. kErrInvalidPort outside.
  int CommPort() const;
  void SetCommPort(int port);

  // "baud=9600 parity=N data=8 stop=1" or "9600,N,8,1"; kErrInvalidSettings when invalid.
  // Applied at once to an open port.
  std::string Settings() const;
  void SetSettings(const std::string& settings);

  bool PortOpen() const;
  void SetPortOpen(bool open);

  // Sizes of the port's own buffers (default 4096). Input beyond the input
  // size stays in the device until the buffer is read; the output queue grows
  // past its size rather than drop a byte.
  int InBufferSize() const;
  void SetInBufferSize(int size);
  int OutBufferSize() const;
  void SetOutBufferSize(int size);

  // The most bytes one Input returns; 0 = all.
  int InputLen() const;
  void SetInputLen(int length);

  // The waiting bytes, up to InputLen. kErrUnavailable on a closed port.
  std::vector<uint8_t> Input();
  // Bytes waiting (0 on a closed port); setting 0 empties the input.
  int InBufferCount();
  void SetInBufferCount(int count);

  // Writes bytes (kErrUnavailable on a closed port or when the device went
  // away). With OutputWaits on, returns once they left the port or after their
  // transmit time at the set rate plus 10 ms, whichever comes first.
  void Output(const uint8_t* data, size_t size);
  void Output(const std::vector<uint8_t>& data) { Output(data.data(), data.size()); }
  // Bytes not yet sent (0 on a closed port); setting 0 empties the output.
  int OutBufferCount();
  void SetOutBufferCount(int count);

  // The send option: Output waits for its bytes to leave (default off).
  bool OutputWaits() const;
  void SetOutputWaits(bool wait);

  // Output lines; kept while closed and applied at open (initially off).
  bool DTREnable() const;
  void SetDTREnable(bool on);
  bool RTSEnable() const;
  void SetRTSEnable(bool on);

  // Input lines (off on a closed port). Inside the handler of a line's event
  // the getter gives the level after that edge.
  bool CTSHolding();
  bool DSRHolding();
  bool CDHolding();

  // ms, 0 = off: event 1002 (1003) once per stall in which output bytes have
  // waited that long while CTS (DSR) was off.
  int CTSTimeout() const;
  void SetCTSTimeout(int ms);
  int DSRTimeout() const;
  void SetDSRTimeout(int ms);

  // The code of the event being handled (the last one delivered).
  int CommEvent() const;
  // The handler of the communication event. It may close the port or wait
  // with nested event processing.
  void SetOnComm(std::function<void()> handler);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
