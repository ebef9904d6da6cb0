#include "mtp/mtp_prog.h"

#include <algorithm>

#include "core/main_module.h"
#include "mtp/mtpcomm.h"
#include "platform/filenames.h"
#include "platform/messagebox.h"
#include "platform/read_file.h"
#include "protocol/image.h"

namespace monitor {
namespace {

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
  bool cut = false;
  if (!platform::ReadFileHead(platform::FindOrKeepPath(path), content, limit, cut))
    return std::nullopt;
  return std::vector<uint8_t>(content.begin(), content.end());
}

// A wait under the link's time-out timer, with a deadline behind it: a
// handler inside the wait may restart the shared timer, and the deadline
// still ends the wait. `disarm` stops the timer when the wait is over.
class LinkLimit : public platform::StepLimit {
 public:
  LinkLimit(MtpComm& comm, int ms, bool disarm) : comm_(comm), ms_(ms), disarm_(disarm) {}
  void Arm() override {
    comm_.StartProgrammerTimeout(ms_);
    deadline_ = platform::Deadline(int64_t{ms_} * 1000);
  }
  bool Expired() override { return comm_.ProgrammerTimeoutFlag != 0 || deadline_.Passed(); }
  void Disarm() override {
    if (disarm_) comm_.MTP_Timeouttimer.SetEnabled(false);
  }

 private:
  MtpComm& comm_;
  int ms_;
  bool disarm_;
  platform::Deadline deadline_{0};
};

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

MtpProg::MtpProg(MtpComm& comm)
    : comm_(comm),
      exchange_(comm.MTP_comm, [this](const ProgrammerFrame& frame) { return Send(frame); }) {
  MTPRECTIMER.SetEnabled(false);
  MTPRECTIMER.onTimer = [this] { MTPRECTIMER.SetEnabled(false); };
}

bool MtpProg::Send(const ProgrammerFrame& frame) {
  platform::SerialPort& port = comm_.MTP_comm;
  const int waitMs = comm_.Timings.dsrWaitMs;
  try {
    platform::SendPacing pacing;
    bool sent = false;
    if (comm_.ProgrammerBuffered == 1) {
      // Byte by byte behind an empty output; a stalled output ends in the
      // same failure as a missing DSR instead of waiting for ever.
      pacing.emptyOutput = true;
      pacing.pauseMicros = comm_.Timings.bufferedPauseMicros;
      platform::DeadlineLimit limit(waitMs);
      sent = platform::SendPaced(port, frame.data(), frame.size(), pacing, limit);
    } else {
      // The whole frame once DSR is on.
      pacing.chunk = 0;
      pacing.dsr = true;
      LinkLimit limit(comm_, waitMs, false);
      sent = platform::SendPaced(port, frame.data(), frame.size(), pacing, limit);
    }
    if (sent) return true;
  } catch (const std::exception&) {
  }
  Box(platform::kSendTimeoutText);
  return false;
}

std::optional<ProgrammerFrame> MtpProg::Read(int32_t address, int32_t count) {
  platform::SerialPort& port = comm_.MTP_comm;
  // Bytes left from an earlier answer (late or longer than asked) would be
  // taken for this one's.
  try {
    port.SetInBufferCount(0);
  } catch (const std::exception&) {
  }
  // The answer is waited for even when the request failed; the wait runs
  // the monitor's poll step.
  try {
    LinkLimit limit(comm_, comm_.Timings.readMs, true);
    std::optional<ProgrammerFrame> answer =
        exchange_.Read(static_cast<uint16_t>(address), count, limit, true,
                       [this] { PollStep(comm_.State()); });
    if (answer) return answer;
  } catch (const std::exception&) {
    comm_.MTP_Timeouttimer.SetEnabled(false);
  }
  Box("Reception of data timer out");
  try {
    port.SetInputLen(0);
    comm_.DisconnectProgrammer();
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

bool MtpProg::WaitForCommand(uint8_t command, size_t limit, StatusLine& status) {
  const int period = std::max(comm_.Timings.pollMs, 1);  // 0 would never tick
  platform::PollSteps steps;
  steps.pause = [this, period] {
    MTPRECTIMER.SetInterval(period);
    MTPRECTIMER.SetEnabled(true);
    platform::WaitPumping([&] { return !MTPRECTIMER.Enabled(); }, [] { return false; });
  };
  steps.beforePoll = [&] {
    const std::string text = status.Text();
    if (text.size() > limit) return false;
    status.SetText(text + ".");
    return true;
  };
  steps.read = [this]() -> std::optional<uint8_t> {
    const std::optional<ProgrammerFrame> answer = Read(protocol::kCommandAddress, 1);
    if (!answer || answer->empty()) return std::nullopt;
    return (*answer)[0];
  };
  // A read that closed the link ends the wait: no later poll can be answered.
  steps.pollOnNoAnswer = [this] { return comm_.MTP_comm.PortOpen(); };
  // A command that did not go out is not waited for: its polls could only
  // fail, each with its own box.
  const std::optional<platform::PollEnd> end =
      exchange_.RunCommand(command, protocol::RunningBits(command), 0, steps);
  return end == platform::PollEnd::kClear ? true : Fail();
}

bool MtpProg::ProgrammerSend(const ProgrammerFrame& frame) {
  Operation op(*this);
  return !op.refused && Send(frame);
}

std::optional<ProgrammerFrame> MtpProg::ProgrammerRead(int32_t address, int32_t count) {
  Operation op(*this);
  if (op.refused) return std::nullopt;
  return Read(address, count);
}

void MtpProg::SendClearFrame() {
  Operation op(*this);
  if (!op.refused) Send(protocol::ClearFrame());
}

void MtpProg::SendErrorCommand() {
  Operation op(*this);
  if (!op.refused) Send(protocol::CommandFrame(protocol::kCommandError));
}

bool MtpProg::ProgramDeviceCommand(StatusLine& status) {
  Operation op(*this);
  if (op.refused) return false;
  // A clear frame that did not go out leaves its box; the command goes on.
  Send(protocol::ClearFrame());
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
  return exchange_.SendParameters(*block) ? true : Fail();
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
  // The header, then one send per data byte.
  switch (exchange_.SendImage(*file, {16, 2, *count, true}, true)) {
    case protocol::ProgrammerExchange::ImageEnd::kSent:
      return true;
    case protocol::ProgrammerExchange::ImageEnd::kDataBroken:
      Box("comm error - data");
      return Fail();
    case protocol::ProgrammerExchange::ImageEnd::kUnsent:
      break;
  }
  return Fail();
}

std::optional<protocol::ProgrammerStatus> MtpProg::ReadProgrammerStatus() {
  Operation op(*this);
  if (op.refused) return std::nullopt;
  const std::optional<ProgrammerFrame> answer =
      Read(protocol::kStatusAddress, protocol::kPanelStatusBytes);
  if (!answer || answer->empty()) return std::nullopt;
  return protocol::DecodeStatus(*answer, protocol::kPanelStatusBytes);
}

}  // namespace monitor
