#pragma once
// The control's transfers with the device programmer, on the programmer
// exchange (protocol/exchange.h): bytes out one at a time under the send
// time-out, answers in under the read time-out, the port, the
// line and chip tests, the parameter and image writes, the commands that the
// programmer completes over polls, and the status block. A plain class: the
// control's widget holds it and tests drive it on their own.
#include <QByteArray>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "pelto_params.h"
#include "pelto_shown.h"
#include "pelto_timings.h"
#include "pelto_wait.h"
#include "platform/serial_port.h"
#include "protocol/exchange.h"
#include "protocol/frames.h"

namespace pelto {

using Bytes = protocol::Bytes;

// The bytes as the control's interface hands them over.
QByteArray ToQBytes(const Bytes& bytes);

// What the general time-out does when it fires, besides setting its flag.
enum class TimerTask { None, SocketPoll, CommandPoll, CtsWait, AutoProgram, AutoCrc };

// What the chip test found in the socket.
enum class ChipSeen { ReadFailed, Empty, Present, JustInserted };

// How a command the programmer carries out ended.
enum class CommandEnd { Done, NeverCompleted, LinkFailed };

class PeltoLink {
 public:
  PeltoLink(PeltoParams& params, PeltoShown& shown, const PeltoTimings& timings);
  ~PeltoLink();
  PeltoLink(const PeltoLink&) = delete;
  PeltoLink& operator=(const PeltoLink&) = delete;

  platform::SerialPort& Port() { return port_; }
  // Called wherever a transfer finds the link failed (the state machine
  // answers it); the failing transfer has shown its own message.
  std::function<void()> linkFailed;

  // The three time-outs; the general one carries the task it was started for.
  TimeOut general, read, send;
  TimerTask generalTask = TimerTask::None;
  void StartGeneral(TimerTask task, int ms);

  // The first `datasize` bytes, one at a time: true when sent, false after
  // its message.
  [[nodiscard]] bool Send(const QByteArray& buff, short datasize);
  bool SendFrame(const Bytes& frame);
  // The answer of `count` bytes at a programmer address; nothing after its
  // message and a failed link.
  [[nodiscard]] std::optional<Bytes> Read(short start, short count);

  // Opens the port and waits for CTS; 0, or -1 with the link failed.
  short OpenPort();
  void ClosePort();
  bool LineIsDown();
  ChipSeen ChipTest();

  short UpdateEraseTime();
  short UpdateROMParams();
  // The image from `source` (complemented unless `converted`).
  short UpdateROMData(const std::string& source, bool converted);
  // Programming; one that never completes shows the failure look and says so.
  CommandEnd Program();
  short RequestRAMCRC();
  short RequestDevCRC();
  short RequestLastInstruction();
  // Reads the status block and shows mode, CRCs and last instruction.
  short GetStatus();

 private:
  void Fail();
  short WriteOrFail(const Bytes& frame);
  CommandEnd WaitCommand(uint8_t command, int progressMax, uint8_t mask, int pollLimit,
                         const char* statusText, bool pollAtOnce);
  void ShowProgress(int max, int value);
  void ShowStatusText(const std::string& text, long color);
  void ShowStatus(const Bytes& block);

  PeltoParams& params_;
  PeltoShown& shown_;
  const PeltoTimings& timings_;
  platform::SerialPort port_;
  protocol::ProgrammerExchange exchange_;
};

}  // namespace pelto
