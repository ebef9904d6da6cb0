#include "pelto_link.h"

#include <QCoreApplication>
#include <algorithm>

#include "platform/messagebox.h"
#include "platform/read_file.h"
#include "platform/run_time_error.h"
#include "protocol/image.h"
#include "protocol/status.h"

namespace pelto {
namespace {

// The control's error numbers.
constexpr int kReadError = static_cast<int>(0x80040001u);
constexpr int kSendError = static_cast<int>(0x80040002u);
constexpr int kNoCtsError = static_cast<int>(0x80040003u);

constexpr char kProgrammingFailed[] = "Programming did not complete !";

QByteArray ToQBytes(const Bytes& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

void Exclaim(const char* text) {
  platform::MessageBox(text, "PELTO Programmer", platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

}  // namespace

PeltoLink::PeltoLink(PeltoParams& params, PeltoShown& shown, const PeltoTimings& timings)
    : params_(params), shown_(shown), timings_(timings) {}

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

short PeltoLink::Send(const QByteArray& buff, short datasize) {
  const int count = std::min<int>(datasize, static_cast<int>(buff.size()));
  const bool showProgress = datasize > 100;
  const int max = showProgress ? datasize - 1 : shown_.progressMax;
  try {
    for (int i = 0; i < count; ++i) {
      send.Start(timings_.send);
      const bool empty = WaitFor([this] { return port_.OutBufferCount() == 0; }, send);
      send.Stop();
      if (!empty) throw platform::RunTimeError(kSendError, "send time-out");
      port_.Output(reinterpret_cast<const uint8_t*>(buff.constData()) + i, 1);
      if (showProgress) ShowProgress(max, i);
      QCoreApplication::processEvents();
    }
    ShowProgress(max, 0);
    return 0;
  } catch (const platform::RunTimeError&) {
    send.Stop();
    Exclaim("Communication Error timeout DSR ");
    ShowProgress(max, 0);
    return -1;
  }
}

short PeltoLink::SendFrame(const Bytes& frame) {
  return Send(ToQBytes(frame), static_cast<short>(frame.size()));
}

short PeltoLink::Read(short start, short count, QByteArray& into) {
  try {
    if (Send(ToQBytes(protocol::ReadRequest(static_cast<uint16_t>(start), static_cast<uint16_t>(count))),
             5) != 0) {
      throw platform::RunTimeError(kReadError, "request not sent");
    }
    read.Start(timings_.read);
    const bool complete = WaitFor([&] { return port_.InBufferCount() >= count; }, read);
    read.Stop();
    if (!complete) throw platform::RunTimeError(kReadError, "read time-out");
    port_.SetInputLen(0);
    into = ToQBytes(port_.Input());
    return 0;
  } catch (const platform::RunTimeError&) {
    read.Stop();
    Exclaim("Reception of data has timed out");
    if (port_.PortOpen()) port_.SetInBufferCount(0);
    Fail();
    return -1;
  }
}

short PeltoLink::OpenPort() {
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
    if (!cts) throw platform::RunTimeError(kNoCtsError, "no CTS");
    shown_.connected = true;
    shown_.Show(PeltoShown::Part::Connected);
    return 0;
  } catch (const platform::RunTimeError&) {
    Fail();
    return -1;
  }
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
  QByteArray answer;
  if (Read(protocol::kChipAddress, 1, answer) != 0 || answer.isEmpty()) {
    params_.chipIsPresent = false;
    return ChipSeen::ReadFailed;
  }
  if (answer[0] == 0) {
    params_.chipIsPresent = false;
    return ChipSeen::Empty;
  }
  const bool wasPresent = params_.chipIsPresent;
  params_.chipIsPresent = true;
  return wasPresent ? ChipSeen::Present : ChipSeen::JustInserted;
}

short PeltoLink::WriteOrFail(const Bytes& frame) {
  if (SendFrame(frame) < 0) {
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
  return WriteOrFail(protocol::ParameterFrame({static_cast<uint8_t>(params_.instructionSize),
                                               *blockBytes,
                                               static_cast<uint8_t>(params_.nbOfBlocks)}));
}

short PeltoLink::UpdateROMData(const std::string& source, bool converted) {
  // A folder, a pipe or an unreadable file fails as a missing one does.
  std::string file;
  if (source.empty() || !platform::ReadWholeFile(source, file)) {
    Fail();
    return -1;
  }
  const std::optional<int32_t> n =
      protocol::ImageCount(params_.blockSize, params_.nbOfBlocks, params_.padBytes);
  if (!n) return -1;
  ShowStatusText("downloading program...", shown_.statusColor);
  const Bytes content(file.begin(), file.end());
  const Bytes frame =
      protocol::ImageFrame(content, {params_.instructionSize, params_.padBytes, *n, !converted});
  const short result = WriteOrFail(frame);
  ShowStatusText("", shown_.statusColor);
  return result;
}

// The command byte is written, then polled once per poll period until the
// command's bits are clear.
CommandEnd PeltoLink::WaitCommand(uint8_t command, int progressMax, uint8_t mask, int pollLimit,
                                  const char* statusText, bool pollAtOnce) {
  if (SendFrame(protocol::CommandFrame(command)) < 0) {
    Fail();
    return CommandEnd::LinkFailed;
  }
  ShowStatusText(statusText, shown_.statusColor);
  ShowProgress(progressMax, 0);
  const auto finish = [&](CommandEnd end) {
    general.Stop();
    ShowProgress(progressMax, 0);
    ShowStatusText("", shown_.statusColor);
    return end;
  };
  StartGeneral(TimerTask::CommandPoll, timings_.poll);
  if (pollAtOnce) general.MarkFired();
  for (int polls = 0;;) {
    if (WaitFor([] { return false; }, general)) continue;
    general.Stop();
    // A link that dropped while the programmer works ends the wait.
    if (!port_.PortOpen() || LineIsDown()) {
      finish(CommandEnd::LinkFailed);
      Fail();
      return CommandEnd::LinkFailed;
    }
    ++polls;
    ShowProgress(progressMax, std::min(shown_.progress + 1, progressMax));
    QByteArray answer;
    // A failed read has already failed the link.
    if (Read(protocol::kCommandAddress, 1, answer) != 0 || answer.isEmpty()) {
      return finish(CommandEnd::LinkFailed);
    }
    if ((static_cast<uint8_t>(answer[0]) & mask) == 0) return finish(CommandEnd::Done);
    if (polls == pollLimit) return finish(CommandEnd::NeverCompleted);
    StartGeneral(TimerTask::CommandPoll, timings_.poll);
  }
}

// Programming gives up after ten times its progress maximum; a programmer
// that answers but never finishes gets the failure look and a message.
CommandEnd PeltoLink::Program() {
  const int max = params_.nbOfBlocks * 5;
  const CommandEnd end = WaitCommand(protocol::kCommandProgram, max, 0x02, std::max(max * 10, 10),
                                     "programming device...", false);
  if (end == CommandEnd::NeverCompleted) {
    shown_.light = Light::Red;
    shown_.Show(PeltoShown::Part::Light);
    ShowStatusText(kProgrammingFailed, kRed);
    Exclaim(kProgrammingFailed);
  }
  return end;
}

// The programmer's CRC gives up after ten times its progress maximum: a
// programmer that never finishes it is a failed link.
short PeltoLink::RequestRAMCRC() {
  const CommandEnd end =
      WaitCommand(protocol::kCommandProgrammerSum, 10, 0xFF, 100, "requesting programmer CRC...", false);
  if (end == CommandEnd::NeverCompleted) Fail();
  return end == CommandEnd::Done ? 0 : -1;
}

short PeltoLink::RequestDevCRC() {
  const CommandEnd end = WaitCommand(protocol::kCommandDeviceSum, 3, 0x04, 10, "Reading Device CRC...", false);
  return end == CommandEnd::Done ? 0 : -1;
}

short PeltoLink::RequestLastInstruction() {
  if (WriteOrFail(protocol::WriteFrame(protocol::kLastInstructionAddress, {0x80, 0x80, 0x80, 0x80})) < 0) return -1;
  const CommandEnd end =
      WaitCommand(protocol::kCommandLastInstruction, 3, 0x03, 10, "Reading Last Instruction...", true);
  return end == CommandEnd::Done ? 0 : -1;
}

short PeltoLink::GetStatus() {
  QByteArray block;
  if (Read(protocol::kStatusAddress, protocol::kControlStatusBytes, block) != 0) return -1;
  block.resize(std::max<qsizetype>(block.size(), protocol::kControlStatusBytes), '\0');
  ShowStatus(block);
  return 0;
}

void PeltoLink::ShowStatus(const QByteArray& block) {
  shown_.standAlone = (static_cast<uint8_t>(block[16]) & 0x10) != 0;
  shown_.Show(PeltoShown::Part::Mode);
  const auto text = [&](int first) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(block.constData()) + first;
    return protocol::SumText(bytes, params_.padBytes, params_.instructionSize);
  };
  shown_.crcBox = text(34);
  shown_.crcDevice = text(38);
  shown_.Show(PeltoShown::Part::Crc);
  shown_.lastInstruction = text(45);
  shown_.Show(PeltoShown::Part::LastInstruction);
}

}  // namespace pelto
