#include "mtp/mtp_prog.h"

#include <algorithm>

#include "core/main_module.h"
#include "core/yielding_wait.h"
#include "mtp/mtpcomm.h"
#include "platform/clock.h"
#include "platform/filenames.h"
#include "platform/messagebox.h"
#include "platform/read_file.h"
#include "platform/run_time_error.h"
#include "protocol/image.h"

namespace monitor {
namespace {

constexpr int kSendTimeout = 31995;
constexpr int kReadTimeout = 32000;
constexpr const char* kSendFailure = "Communication Error timeout DSR ";
constexpr size_t kProgramLimit = 80;
constexpr size_t kCrcLimit = 40;

void Box(const char* text) {
  platform::MessageBox(text, "", platform::MB_OK);
}

void FileWarning() {
  platform::MessageBox("Unable to find Debug information file", "Warning",
                       platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

// The file's first `limit` bytes; nothing when it cannot be read.
std::optional<std::vector<uint8_t>> ReadHead(const std::string& path, size_t limit) {
  // Read as every user-named file is: a folder or a pipe is unreadable.
  std::string content;
  if (!platform::ReadWholeFile(platform::FindOrKeepPath(path), content)) return std::nullopt;
  content.resize(std::min(limit, content.size()));
  return std::vector<uint8_t>(content.begin(), content.end());
}

}  // namespace

// The busy flag for one public operation; `refused` when another runs.
class MtpProg::Operation {
 public:
  explicit Operation(MtpProg& prog) : prog_(prog), refused(prog.busy_) { prog_.busy_ = true; }
  ~Operation() {
    if (!refused) prog_.busy_ = false;
  }
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

 private:
  MtpProg& prog_;

 public:
  const bool refused;
};

MtpProg::MtpProg(MtpComm& comm) : comm_(comm) {
  MTPRECTIMER.SetEnabled(false);
  MTPRECTIMER.onTimer = [this] { MTPRECTIMER.SetEnabled(false); };
}

int16_t MtpProg::Send(const ProgrammerFrame& frame, size_t length) {
  length = std::min(length, frame.size());
  platform::SerialPort& port = comm_.MTP_comm;
  try {
    const int waitMs = comm_.Timings.dsrWaitMs;
    if (comm_.ProgrammerBuffered == 1) {
      // Byte by byte behind an empty output; a stalled output ends in the
      // same failure as a missing DSR instead of waiting for ever.
      for (size_t i = 0; i < length; ++i) {
        const Deadline deadline(int64_t{waitMs} * 1000);
        if (!WaitYielding([&] { return port.OutBufferCount() == 0; },
                          [&] { return deadline.Passed(); })) {
          throw platform::RunTimeError(kSendTimeout, kSendFailure);
        }
        port.Output(frame.data() + i, 1);
        if (comm_.Timings.bufferedPauseMicros > 0)
          platform::BusyWaitMicros(comm_.Timings.bufferedPauseMicros);
      }
    } else {
      comm_.StartProgrammerTimeout(waitMs);
      const Deadline deadline(int64_t{waitMs} * 1000);
      if (!WaitYielding([&] { return port.DSRHolding(); },
                        [&] { return comm_.ProgrammerTimeoutFlag != 0 || deadline.Passed(); })) {
        throw platform::RunTimeError(kSendTimeout, kSendFailure);
      }
      port.Output(frame.data(), length);
    }
    return 0;
  } catch (const std::exception&) {
    Box(kSendFailure);
    return -1;
  }
}

std::vector<uint8_t> MtpProg::Read(int32_t address, int32_t count) {
  platform::SerialPort& port = comm_.MTP_comm;
  // Bytes left from an earlier answer (late or longer than asked) would be
  // taken for this one's.
  try {
    port.SetInBufferCount(0);
  } catch (const std::exception&) {
  }
  Send(protocol::ReadRequest(static_cast<uint16_t>(address), static_cast<uint16_t>(count)), 5);
  try {
    const int readMs = comm_.Timings.readMs;
    comm_.ProgrammerTimeoutFlag = 0;
    comm_.MTP_Timeouttimer.SetInterval(readMs);
    comm_.MTP_Timeouttimer.SetEnabled(true);
    // A handler inside the wait may restart the shared timer: the deadline
    // still ends the wait.
    const Deadline deadline(int64_t{readMs} * 1000);
    while (port.InBufferCount() < count) {
      PollStep(comm_.State());
      if (comm_.ProgrammerTimeoutFlag != 0 || deadline.Passed()) {
        throw platform::RunTimeError(kReadTimeout, "Reception of data timer out");
      }
      if (port.InBufferCount() < count) platform::SleepMillis(1);
    }
    comm_.MTP_Timeouttimer.SetEnabled(false);
    port.SetInputLen(0);
    return port.Input();
  } catch (const std::exception&) {
    comm_.MTP_Timeouttimer.SetEnabled(false);
    Box("Reception of data timer out");
    try {
      port.SetInputLen(0);
      comm_.DisconnectProgrammer();
    } catch (const std::exception&) {
    }
    return {};
  }
}

bool MtpProg::WaitForCommand(uint8_t command, size_t limit, StatusLine& status) {
  // A command that did not go out is not waited for: its polls could only
  // fail, each with its own box.
  if (Send(protocol::CommandFrame(command), 6) < 0) return Fail();
  MTPRECTIMER.SetInterval(std::max(comm_.Timings.pollMs, 1));  // 0 would never tick
  MTPRECTIMER.SetEnabled(true);
  int running = command;
  while (running != 0) {
    WaitYielding([&] { return !MTPRECTIMER.Enabled(); }, [] { return false; });
    const std::string text = status.Text();
    if (text.size() > limit) return Fail();
    status.SetText(text + ".");
    const std::vector<uint8_t> answer = Read(protocol::kCommandAddress, 1);
    if (!answer.empty()) {
      running = answer[0] & command;
    } else if (!comm_.MTP_comm.PortOpen()) {
      // The read closed the link: no later poll can be answered.
      return Fail();
    }
    MTPRECTIMER.SetEnabled(running != 0);
  }
  return true;
}

int16_t MtpProg::ProgrammerSend(const ProgrammerFrame& frame, int16_t length) {
  Operation op(*this);
  if (op.refused) return -1;
  return Send(frame, static_cast<size_t>(std::max<int16_t>(length, 0)));
}

std::vector<uint8_t> MtpProg::ProgrammerRead(int32_t address, int32_t count) {
  Operation op(*this);
  if (op.refused) return {};
  return Read(address, count);
}

void MtpProg::SendClearFrame() {
  Operation op(*this);
  if (!op.refused) Send(protocol::ClearFrame(), 9);
}

void MtpProg::SendErrorCommand() {
  Operation op(*this);
  if (!op.refused) Send(protocol::CommandFrame(protocol::kCommandError), 6);
}

bool MtpProg::ProgramDeviceCommand(StatusLine& status) {
  Operation op(*this);
  if (op.refused) return false;
  Send(protocol::ClearFrame(), 9);
  return WaitForCommand(protocol::kCommandProgram, kProgramLimit, status);
}

bool MtpProg::RequestProgrammerCrc(StatusLine& status) {
  Operation op(*this);
  if (op.refused) return false;
  status.SetText("Calculating CRC");
  if (!WaitForCommand(protocol::kCommandProgrammerSum, kCrcLimit, status)) return false;
  status.SetText("CRC calculated");
  return true;
}

bool MtpProg::RequestDeviceCrc(StatusLine& status) {
  Operation op(*this);
  return !op.refused && WaitForCommand(protocol::kCommandDeviceSum, kCrcLimit, status);
}

bool MtpProg::SendRomParameters(const std::optional<protocol::Parameters>& block) {
  Operation op(*this);
  if (op.refused) return false;
  if (!block) return Fail();
  const ProgrammerFrame frame = protocol::ParameterFrame(*block);
  return Send(frame, frame.size()) < 0 ? Fail() : true;
}

bool MtpProg::DownloadRomCode(const std::string& path, int32_t paddingBytes,
                              std::optional<int32_t> count) {
  Operation op(*this);
  if (op.refused) return false;
  if (path.empty()) {
    Box("Binary file undefined");
    return Fail();
  }
  if (paddingBytes == 0) {
    Box("Invalid value for source file padding");
    return Fail();
  }
  // The count comes first: an image too large for its header sends nothing.
  const std::optional<std::vector<uint8_t>> file =
      count ? ReadHead(path, static_cast<size_t>(*count) + 1) : std::nullopt;
  if (!file) {
    FileWarning();
    return Fail();
  }
  const protocol::ImageShape shape{16, 2, *count, true};
  const ProgrammerFrame header = protocol::ImageHeader(shape);
  if (Send(header, header.size()) < 0) return Fail();
  for (uint8_t byte : protocol::ImageData(*file, shape)) {
    if (Send({byte}, 1) < 0) {
      Box("comm error - data");
      return Fail();
    }
  }
  return true;
}

std::optional<protocol::ProgrammerStatus> MtpProg::ReadProgrammerStatus() {
  Operation op(*this);
  if (op.refused) return std::nullopt;
  const std::vector<uint8_t> answer = Read(protocol::kStatusAddress, protocol::kPanelStatusBytes);
  if (answer.empty()) return std::nullopt;
  return protocol::DecodeStatus(answer, protocol::kPanelStatusBytes);
}

}  // namespace monitor
