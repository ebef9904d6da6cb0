#pragma once
// The module MTP_PROG: the device programmer's frames sent through the
// programmer link (MtpComm), answers read, running commands waited for, and
// the status block decoded for the panel.
//
// One operation at a time: every public operation runs under a busy flag,
// and a call that arrives while one runs (through the events a wait lets
// run) is refused: a send gives -1, a read an empty answer, the others
// nothing, all without a message.
//
// Waits let events run and block about 1 ms per pass when nothing is ready;
// the read's wait runs the monitor's poll step. Their times are MtpTimings.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "mtp/mtp_frames.h"
#include "platform/controls.h"

namespace monitor {

class MtpComm;

class MtpProg {
 public:
  explicit MtpProg(MtpComm& comm);

  MtpComm& Comm() { return comm_; }
  bool Busy() const { return busy_; }

  // 1 after a failed operation; only the panel sets it back to 0.
  int16_t ProgrammerError = 0;
  // The one-second tick of the completion waits; its event disables it.
  platform::Timer MTPRECTIMER;
  // The panel's status text, which the completion waits extend with dots,
  // and the panel's display of a status block. Bound by the panel.
  std::function<std::string()> StatusText;
  std::function<void(const std::string&)> SetStatusText;
  std::function<void(const ProgrammerStatus&)> ShowStatus;

  // The first `length` bytes of the frame: 0 sent, -1 failed after the box
  // "Communication Error timeout DSR ".
  int16_t ProgrammerSend(const ProgrammerFrame& frame, int16_t length);
  // The read request and the whole input once `count` bytes arrived (it may
  // hold more); empty after "Reception of data timer out", the link closed.
  std::vector<uint8_t> ProgrammerRead(int32_t address, int32_t count);
  void SendClearFrame();
  void SendErrorCommand();
  // The clear frame and command 0x02, polled until its bit clears.
  void ProgramDeviceCommand();
  // Command 0x08 under the status "Calculating CRC", then "CRC calculated".
  void RequestProgrammerCrc();
  // Command 0x04.
  void RequestDeviceCrc();
  // The parameter block; nothing sent and ProgrammerError set when a field
  // is not a number or does not fit its byte.
  void SendRomParameters(const RomTexts& texts);
  // The image header and exactly its count of data bytes, one send each.
  void DownloadRomCode(const std::string& path, const RomTexts& texts);
  // The 48-byte status block to the panel; an empty answer changes nothing.
  void ShowProgrammerStatus();

 private:
  class Operation;
  int16_t Send(const ProgrammerFrame& frame, size_t length);
  std::vector<uint8_t> Read(int32_t address, int32_t count);
  // Sends the command and polls its bit once per tick while the status text
  // is at most `limit` characters long.
  void WaitForCommand(uint8_t command, size_t limit);
  void Fail() { ProgrammerError = 1; }

  MtpComm& comm_;
  bool busy_ = false;
};

}  // namespace monitor
