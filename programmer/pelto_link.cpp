#include "pelto_link.h"

#include <algorithm>

#include "platform/messagebox.h"
#include "platform/read_file.h"
#include "platform/run_time_error.h"
#include "protocol/status.h"

namespace pelto {
namespace {

constexpr char kProgrammingFailed[] = "Programming did not complete !";

void Exclaim(const char* text) {
  platform::MessageBox(text, "PELTO Programmer", platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

}  // namespace

QByteArray ToQBytes(const Bytes& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

PeltoLink::PeltoLink(PeltoParams& params, PeltoShown& shown, const PeltoTimings& timings)
    : params_(params),
      shown_(shown),
      timings_(timings),
      exchange_(port_, [this](const Bytes& frame) { return SendFrame(frame); }) {}

PeltoLink::~PeltoLink() {
  for (TimeOut* timeOut : {&general, &read, &send}) timeOut->Stop();
  if (port_.PortOpen()) port_.SetPortOpen(false);
}

void PeltoLink::StartGeneral(TimerTask task, int ms) {
  generalTask = task;
  general.Start(ms);
}

void PeltoLink::Fail() {
  if (linkFailed) linkFailed();
}

void PeltoLink::ShowProgress(int max, int value) {
  shown_.progressMax = max;
  shown_.progress = value;
  shown_.Show(PeltoShown::Part::Progress);
}

void PeltoLink::ShowStatusText(const std::string& text, long color) {
  shown_.status = text;
  shown_.statusColor = color;
  shown_.Show(PeltoShown::Part::Status);
}

bool PeltoLink::Send(const QByteArray& buff, short datasize) {
  const int count = std::max(std::min<int>(datasize, static_cast<int>(buff.size())), 0);
  const bool showProgress = datasize > 100;
  const int max = showProgress ? datasize - 1 : shown_.progressMax;
  // One byte at a time behind an empty output, the progress after each.
  platform::SendPacing pacing;
  pacing.emptyOutput = true;
  pacing.afterChunk = [&](size_t sent) {
    if (showProgress) ShowProgress(max, static_cast<int>(sent) - 1);
    platform::PumpEvents();
  };
  TimeOutLimit limit(send, timings_.send);
  bool sent = false;
  try {
    sent = platform::SendPaced(port_, reinterpret_cast<const uint8_t*>(buff.constData()),
                               static_cast<size_t>(count), pacing, limit);
  } catch (const platform::RunTimeError&) {
  }
  if (!sent) {
    send.Stop();
    Exclaim(platform::kSendTimeoutText);
  }
  ShowProgress(max, 0);
  return sent;
}

bool PeltoLink::SendFrame(const Bytes& frame) {
  return Send(ToQBytes(frame), static_cast<short>(frame.size()));
}

std::optional<Bytes> PeltoLink::Read(short start, short count) {
  try {
    TimeOutLimit limit(read, timings_.read);
    std::optional<Bytes> answer = exchange_.Read(static_cast<uint16_t>(start), count, limit);
    if (answer) return answer;
  } catch (const platform::RunTimeError&) {
  }
  read.Stop();
  Exclaim("Reception of data has timed out");
  if (port_.PortOpen()) port_.SetInBufferCount(0);
  Fail();
  return std::nullopt;
}

short PeltoLink::OpenPort() {
  // A port error and a port without CTS fail the link alike.
  try {
    port_.SetCommPort(params_.commPortNr);
    port_.SetSettings(std::to_string(params_.baudRate) + ",n,8,1");
    port_.SetInBufferSize(params_.inBuffSize);
    port_.SetOutBufferSize(params_.outBuffSize);
    port_.SetDTREnable(true);
    port_.SetRTSEnable(true);
    if (!port_.PortOpen()) port_.SetPortOpen(true);
    StartGeneral(TimerTask::CtsWait, timings_.cts);
    const bool cts = WaitFor([this] { return port_.CTSHolding(); }, general);
    general.Stop();
    if (cts) {
      shown_.connected = true;
      shown_.Show(PeltoShown::Part::Connected);
      return 0;
    }
  } catch (const platform::RunTimeError&) {
  }
  Fail();
  return -1;
}

void PeltoLink::ClosePort() {
  if (port_.PortOpen()) port_.SetPortOpen(false);
  shown_.connected = false;
  shown_.Show(PeltoShown::Part::Connected);
}

bool PeltoLink::LineIsDown() {
  return !port_.CTSHolding();
}

ChipSeen PeltoLink::ChipTest() {
  const std::optional<Bytes> answer = Read(protocol::kChipAddress, 1);
  if (!answer || answer->empty()) {
    params_.chipIsPresent = false;
    return ChipSeen::ReadFailed;
  }
  if ((*answer)[0] == 0) {
    params_.chipIsPresent = false;
    return ChipSeen::Empty;
  }
  const bool wasPresent = params_.chipIsPresent;
  params_.chipIsPresent = true;
  return wasPresent ? ChipSeen::Present : ChipSeen::JustInserted;
}

short PeltoLink::WriteOrFail(const Bytes& frame) {
  if (!SendFrame(frame)) {
    Fail();
    return -1;
  }
  return 0;
}

short PeltoLink::UpdateEraseTime() {
  return WriteOrFail(protocol::EraseTimeFrame(params_.instructionSize));
}

short PeltoLink::UpdateROMParams() {
  const std::optional<int16_t> blockBytes =
      protocol::BlockBytes(params_.blockSize, params_.padBytes);
  if (!blockBytes) return -1;
  if (exchange_.SendParameters({static_cast<uint8_t>(params_.instructionSize), *blockBytes,
                                static_cast<uint8_t>(params_.nbOfBlocks)})) {
    return 0;
  }
  Fail();
  return -1;
}

short PeltoLink::UpdateROMData(const std::string& source, bool converted) {
  const std::optional<int32_t> n =
      protocol::ImageCount(params_.blockSize, params_.nbOfBlocks, params_.padBytes);
  const protocol::ImageShape shape{params_.instructionSize, params_.padBytes, n.value_or(0),
                                   !converted};
  // A folder, a pipe or an unreadable file fails as a missing one does; of
  // a longer file only what the image takes is read.
  std::string file;
  bool cut = false;
  if (source.empty() ||
      !platform::ReadFileHead(source, file, protocol::ImageFileBytes(shape), cut)) {
    Fail();
    return -1;
  }
  if (!n) return -1;
  ShowStatusText("downloading program...", shown_.statusColor);
  const Bytes content(file.begin(), file.end());
  // The header and the data as one frame.
  const bool sent =
      exchange_.SendImage(content, shape, false) == protocol::ProgrammerExchange::ImageEnd::kSent;
  if (!sent) Fail();
  ShowStatusText("", shown_.statusColor);
  return sent ? 0 : -1;
}

// The command byte is written, then polled once per poll period until the
// command's bits are clear.
CommandEnd PeltoLink::WaitCommand(uint8_t command, int progressMax, uint8_t mask, int pollLimit,
                                  const char* statusText, bool pollAtOnce) {
  const auto finish = [&](CommandEnd end) {
    general.Stop();
    ShowProgress(progressMax, 0);
    ShowStatusText("", shown_.statusColor);
    return end;
  };
  bool first = true;
  platform::PollSteps steps;
  steps.pause = [&] {
    if (first) {
      ShowStatusText(statusText, shown_.statusColor);
      ShowProgress(progressMax, 0);
    }
    StartGeneral(TimerTask::CommandPoll, timings_.poll);
    if (first && pollAtOnce) general.MarkFired();
    first = false;
    WaitFor([] { return false; }, general);
    general.Stop();
  };
  // A link that dropped while the programmer works ends the wait.
  steps.beforePoll = [&] {
    if (!port_.PortOpen() || LineIsDown()) return false;
    ShowProgress(progressMax, std::min(shown_.progress + 1, progressMax));
    return true;
  };
  // A failed read has already failed the link.
  steps.read = [&]() -> std::optional<uint8_t> {
    const std::optional<Bytes> answer = Read(protocol::kCommandAddress, 1);
    if (!answer || answer->empty()) return std::nullopt;
    return (*answer)[0];
  };
  const std::optional<platform::PollEnd> end = exchange_.RunCommand(command, mask, pollLimit, steps);
  if (!end) {
    Fail();
    return CommandEnd::LinkFailed;
  }
  switch (*end) {
    case platform::PollEnd::kClear:
      return finish(CommandEnd::Done);
    case platform::PollEnd::kLimit:
      return finish(CommandEnd::NeverCompleted);
    case platform::PollEnd::kStopped:
      finish(CommandEnd::LinkFailed);
      Fail();
      return CommandEnd::LinkFailed;
    case platform::PollEnd::kNoAnswer:
      break;
  }
  return finish(CommandEnd::LinkFailed);
}

// Programming gives up after ten times its progress maximum; a programmer
// that answers but never finishes gets the failure look and a message.
CommandEnd PeltoLink::Program() {
  const int max = params_.nbOfBlocks * 5;
  const uint8_t command = protocol::kCommandProgram;
  const CommandEnd end = WaitCommand(command, max, protocol::RunningBits(command),
                                     std::max(max * 10, 10), "programming device...", false);
  if (end == CommandEnd::NeverCompleted) {
    shown_.light = Light::Red;
    shown_.Show(PeltoShown::Part::Light);
    ShowStatusText(kProgrammingFailed, kRed);
    Exclaim(kProgrammingFailed);
  }
  return end;
}

// The programmer's CRC gives up after ten times its progress maximum: a
// programmer that never finishes it is a failed link. Unlike the other
// commands it waits for the whole register, not only for its own bit: the
// sum is read once no command at all still runs.
short PeltoLink::RequestRAMCRC() {
  const CommandEnd end = WaitCommand(protocol::kCommandProgrammerSum, 10,
                                     protocol::kAnyCommandRunning, 100,
                                     "requesting programmer CRC...", false);
  if (end == CommandEnd::NeverCompleted) Fail();
  return end == CommandEnd::Done ? 0 : -1;
}

short PeltoLink::RequestDevCRC() {
  const uint8_t command = protocol::kCommandDeviceSum;
  const CommandEnd end =
      WaitCommand(command, 3, protocol::RunningBits(command), 10, "Reading Device CRC...", false);
  return end == CommandEnd::Done ? 0 : -1;
}

short PeltoLink::RequestLastInstruction() {
  if (WriteOrFail(protocol::WriteFrame(protocol::kLastInstructionAddress, {0x80, 0x80, 0x80, 0x80})) < 0) return -1;
  const uint8_t command = protocol::kCommandLastInstruction;
  const CommandEnd end = WaitCommand(command, 3, protocol::RunningBits(command), 10,
                                     "Reading Last Instruction...", true);
  return end == CommandEnd::Done ? 0 : -1;
}

short PeltoLink::GetStatus() {
  std::optional<Bytes> block = Read(protocol::kStatusAddress, protocol::kControlStatusBytes);
  if (!block) return -1;
  block->resize(std::max<size_t>(block->size(), protocol::kControlStatusBytes), 0);
  ShowStatus(*block);
  return 0;
}

void PeltoLink::ShowStatus(const Bytes& block) {
  const uint8_t* bytes = block.data();
  shown_.standAlone = protocol::Standalone(bytes[protocol::kModeOffset]);
  shown_.Show(PeltoShown::Part::Mode);
  const auto text = [&](int first) {
    return protocol::SumText(bytes + first, params_.padBytes, params_.instructionSize);
  };
  shown_.crcBox = text(protocol::kProgrammerSumOffset);
  shown_.crcDevice = text(protocol::kDeviceSumOffset);
  shown_.Show(PeltoShown::Part::Crc);
  shown_.lastInstruction = text(protocol::kLastInstructionOffset);
  shown_.Show(PeltoShown::Part::LastInstruction);
}

}  // namespace pelto
