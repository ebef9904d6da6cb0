#pragma once
// Where a serial port's modem lines come from: the ioctls of a real device, or
// the side channel of the test rig. The data path is the same tty descriptor
// for both.
#include <cstdint>
#include <memory>
#include <string>

namespace platform::comm {

// Input line levels and their transition counters (CTS, DSR, CD).
struct LineState {
  bool level[3] = {false, false, false};
  uint32_t count[3] = {0, 0, 0};
};

class LineProvider {
 public:
  virtual ~LineProvider() = default;
  // Brings `lines` up to date with one system call in the common case.
  virtual void Refresh(LineState& lines) = 0;
  virtual void SetOutputs(bool dtr, bool rts) = 0;
  // The device takes no bytes for now.
  virtual bool Hold() const { return false; }
  // A descriptor that becomes readable on a line change; -1 when the lines
  // must be checked by a timer.
  virtual int NotifyFd() const { return -1; }
  // The kernel's output queue counts toward the bytes not yet sent (a pty
  // always answers 0, so the rig leaves it out).
  virtual bool KernelQueueCounts() const { return true; }
};

// The ioctl lines of a terminal device. A driver without modem-control ioctls
// reads as every input line on and ignores DTR/RTS.
std::unique_ptr<LineProvider> MakeModemLines(int ttyFd);

// Connects to a rig endpoint. On success returns the provider and stores the
// pty slave descriptor the device handed over in `ttyFd` and its first line
// state in `initial`. Throws RunTimeError SerialPort::kErrUnavailable when
// the device refuses or does not answer.
std::unique_ptr<LineProvider> ConnectSideChannel(const std::string& path, int& ttyFd,
                                                 LineState& initial);

}  // namespace platform::comm
