#pragma once
// The module MTP_PROG: the device programmer's frames sent through the
// programmer link (MtpComm), answers read, running commands waited for, and
// the status block decoded for the panel.
//
// One operation at a time: every public operation runs under a busy flag,
// and a call that arrives while one runs (through the events a wait lets
// run) is refused: a send gives false, a read nothing, the others nothing
// either, all without a message.
//
// The sends, reads and command polls are the programmer exchange's
// (protocol/exchange.h) under this module's times (MtpTimings), limits and
// messages; its waits let events run and block about 1 ms per pass when
// nothing is ready, and the read's wait runs the monitor's poll step.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mtp/rom_params.h"
#include "platform/controls.h"
#include "protocol/exchange.h"
#include "protocol/status.h"

namespace monitor {

class MtpComm;

// The status text a completion wait extends with a dot a second and whose
// length bounds the wait: the panel's, or any other a caller passes.
class StatusLine {
 public:
  virtual ~StatusLine() = default;
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
};

class MtpProg {
 public:
  explicit MtpProg(MtpComm& comm);

  MtpComm& Comm() { return comm_; }
  bool Busy() const { return busy_; }

  // 1 after a failed operation; only the panel sets it back to 0.
  int16_t ProgrammerError = 0;
  // The one-second tick of the completion waits; its event disables it.
  platform::Timer MTPRECTIMER;

  // The frame: true when sent, false after the send time-out's box.
  bool ProgrammerSend(const ProgrammerFrame& frame);
  // The read request and the whole input once `count` bytes arrived (it may
  // hold more); nothing after "Reception of data timer out", the link closed.
  std::optional<ProgrammerFrame> ProgrammerRead(int32_t address, int32_t count);
  void SendClearFrame();
  void SendErrorCommand();
  // The operations below return true when they did their work and set
  // ProgrammerError when they failed (a refused call returns false only).
  //
  // The clear frame and command 0x02, polled until its bit clears.
  bool ProgramDeviceCommand(StatusLine& status);
  // Command 0x08 under the status "Calculating CRC", then "CRC calculated".
  bool RequestProgrammerCrc(StatusLine& status);
  // Command 0x04.
  bool RequestDeviceCrc(StatusLine& status);
  // The parameter block; nothing sent and a failure when there is none.
  bool SendRomParameters(const std::optional<protocol::Parameters>& block);
  // The image header and exactly `count` data bytes, one send each; a
  // failure with its box for no path, no padding bytes, no count or a file
  // that cannot be read.
  bool DownloadRomCode(const std::string& path, int32_t paddingBytes, std::optional<int32_t> count);
  // The 48-byte status block; nothing when no answer came.
  std::optional<protocol::ProgrammerStatus> ReadProgrammerStatus();

 private:
  class Operation;
  bool Send(const ProgrammerFrame& frame);
  std::optional<ProgrammerFrame> Read(int32_t address, int32_t count);
  // Sends the command and polls its bit once per tick while the status text
  // is at most `limit` characters long.
  bool WaitForCommand(uint8_t command, size_t limit, StatusLine& status);
  bool Fail() {
    ProgrammerError = 1;
    return false;
  }

  MtpComm& comm_;
  protocol::ProgrammerExchange exchange_;
  bool busy_ = false;
};

}  // namespace monitor
