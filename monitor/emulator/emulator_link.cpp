#include "emulator/emulator_link.h"

#include <QCoreApplication>
#include <algorithm>

#include "core/monitor_state.h"
#include "emulator/byte_stream.h"
#include "emulator/error_numbers.h"
#include "platform/clock.h"
#include "platform/messagebox.h"
#include "platform/run_time_error.h"

namespace monitor {
namespace {

constexpr int kOverflow = 6;

// A step of the link under the shared time-out: the timer and a deadline.
class LinkLimit : public platform::StepLimit {
 public:
  LinkLimit(EmulatorLink& link, int ms) : link_(link), ms_(ms) {}
  void Arm() override { deadline_ = link_.StartTimeout(ms_); }
  bool Expired() override { return link_.TimedOut(deadline_); }

 private:
  EmulatorLink& link_;
  int ms_;
  platform::Deadline deadline_{0};
};

}  // namespace

std::array<uint8_t, 3> PackUnit(int32_t a, int tag, int32_t b) {
  if (a < 0 || a > 16383 || b < 0 || b > 255) {
    throw platform::RunTimeError(kOverflow, "Overflow");
  }
  return {static_cast<uint8_t>((a & 63) * 4 + tag), static_cast<uint8_t>(a / 64),
          static_cast<uint8_t>(b)};
}

std::string LinkSettingsText(int32_t baud) {
  return "baud=" + std::to_string(baud) + " parity=N data=8 stop=1";
}

EmulatorLink::EmulatorLink(MonitorState& state) : state_(state) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
    timedOut_ = true;
    timer_.stop();
  });
}

EmulatorLink::~EmulatorLink() {
  port_.SetOnComm(nullptr);
}

platform::SerialPort& EmulatorLink::Comm() {
  if (state_.Forms.IsBuilt("transferwin")) state_.Forms.Load("transferwin");
  return port_;
}

QTimer& EmulatorLink::Timeouttimer() {
  Comm();
  return timer_;
}

void EmulatorLink::SetLinkState(int16_t event) {
  const LinkStep next = NextLinkState(state_.LinkState, event);
  state_.LinkState = next.state;
  if (next.beep) platform::Beep();
}

void EmulatorLink::OpenPort() {
  if (state_.LinkState != kLinkClosed) return;
  ClosePort();
  Open(timings_.openDelayMs);
  SetLinkState(kLinkEventOpened);
}

void EmulatorLink::OpenPortQuietly() {
  Open(0);
}

void EmulatorLink::Open(int pauseMs) {
  platform::SerialPort& port = Comm();
  port.SetSettings(LinkSettingsText(baudRate_));
  if (port.PortOpen()) port.SetPortOpen(false);
  port.SetCommPort(portNumber_);
  if (pauseMs > 0) platform::SleepMillis(pauseMs);
  port.SetPortOpen(true);
  port.SetDTREnable(true);
  port.SetRTSEnable(true);
  if (onOpen_) onOpen_();
}

void EmulatorLink::ClosePort() {
  platform::SerialPort& port = Comm();
  if (port.PortOpen()) port.SetPortOpen(false);
  SetLinkState(kLinkEventClosed);
}

void EmulatorLink::StartLinkTimeout(int ms) {
  QTimer& timer = Timeouttimer();
  timedOut_ = false;
  timer.stop();
  timer.setInterval(ms);
  timer.start();
}

bool EmulatorLink::LinkTimedOut() {
  if (!timedOut_) return false;
  timedOut_ = false;
  return true;
}

platform::Deadline EmulatorLink::StartTimeout(int ms) {
  StartLinkTimeout(ms);
  return platform::Deadline(int64_t{ms} * 1000);
}

bool EmulatorLink::TimedOut(const platform::Deadline& deadline) {
  return LinkTimedOut() || deadline.Passed();
}

void EmulatorLink::ClearTimeout() {
  timedOut_ = false;
  timer_.stop();
}

int16_t EmulatorLink::ReadPortSignal() {
  return Comm().CDHolding() ? 1 : 0;
}

bool EmulatorLink::SendBytes(const std::vector<uint8_t>& bytes) {
  try {
    platform::SerialPort& port = Comm();
    // Units behind DSR, or single bytes behind an empty output, CTS and DSR
    // in buffered mode.
    const bool buffered = state_.LinkBuffered == 1;
    port.SetOutputWaits(!buffered);
    platform::SendPacing pacing;
    pacing.chunk = buffered ? 1 : 3;
    pacing.emptyOutput = pacing.cts = buffered;
    pacing.dsr = true;
    pacing.pauseMicros = timings_.pacingMicros;
    LinkLimit limit(*this, timings_.sendUnitMs);
    if (platform::SendPaced(port, bytes.data(), bytes.size(), pacing, limit)) return true;
  } catch (const std::exception&) {
  }
  platform::MessageBox(platform::kSendTimeoutText, "", platform::MB_OK);
  return false;
}

bool EmulatorLink::SendValue(int32_t a, int32_t b) {
  const std::array<uint8_t, 3> unit = PackUnit(a, 0, b);
  return SendBytes({unit.begin(), unit.end()});
}

bool EmulatorLink::SendValueEx(int32_t a, int32_t b) {
  const std::array<uint8_t, 3> unit = PackUnit(a, 2, b);
  return SendBytes({unit.begin(), unit.end()});
}

bool EmulatorLink::DrainOutput(size_t bytes) {
  platform::SerialPort& port = Comm();
  const int64_t transmitMicros =
      static_cast<int64_t>(bytes) * 10 * 1000000 / std::max<int32_t>(baudRate_, 1);
  const platform::Deadline deadline(transmitMicros + int64_t{timings_.drainMarginMs} * 1000);
  return platform::WaitPumping([&] { return port.OutBufferCount() == 0; },
                      [&] { return deadline.Passed(); });
}

bool EmulatorLink::SendWord(int32_t value) {
  if (state_.LinkState != kLinkIdle) return false;
  SetLinkState(kLinkEventWordSend);
  try {
    const std::array<uint8_t, 3> unit = PackUnit(value, 1, 0);
    if (!SendBytes({unit.begin(), unit.end()})) {
      SetLinkState(kLinkEventFailure);
      return false;
    }
    if (!DrainOutput(unit.size()))
      throw platform::RunTimeError(kErrSendTimeout, platform::kSendTimeoutText);
    SetLinkState(kLinkEventDone);
    return true;
  } catch (...) {
    SetLinkState(kLinkEventFailure);
    throw;
  }
}

bool EmulatorLink::SendCommand(int32_t address, const std::vector<uint8_t>& data) {
  SetLinkState(kLinkEventCommand);
  if (state_.LinkState != kLinkSendingBlock) return false;
  try {
    size_t units = data.size() / 3;
    size_t offset = 0;
    while (units >= 1) {
      const size_t block = std::min<size_t>(units, kMaxBlockUnits);
      const std::vector<uint8_t> bytes(data.begin() + offset, data.begin() + offset + block * 3);
      // Data after a failed header would be read as units of their own.
      if (!SendValueEx(address, static_cast<int32_t>(block)) || !SendBytes(bytes) ||
          !DrainOutput((block + 1) * 3)) {
        SetLinkState(kLinkEventFailure);
        return false;
      }
      units -= block;
      offset += block * 3;
      address += static_cast<int32_t>(block);
    }
    SetLinkState(kLinkEventDone);
    return true;
  } catch (const std::exception&) {
    SetLinkState(kLinkEventFailure);
    return false;
  }
}

std::optional<std::vector<uint8_t>> EmulatorLink::ReceiveData(int32_t address, int32_t count) {
  SetLinkState(kLinkEventReceive);
  if (state_.LinkState != kLinkReceiving) return std::nullopt;
  try {
    platform::SerialPort& port = Comm();
    clsByteStream answer;
    while (count > 0) {
      const int32_t chunk = std::min<int32_t>(count, kMaxBlockUnits);
      port.SetInputLen(chunk * 3);
      // Noise on the line before the request is never part of its answer.
      port.SetInBufferCount(0);
      // A request that did not go out ends in the answer's time-out.
      SendValue(address, chunk);
      LinkLimit limit(*this, chunk * timings_.readUnitMs);
      const std::optional<std::vector<uint8_t>> bytes = platform::ReceiveCount(port, chunk * 3, limit);
      if (!bytes) throw platform::RunTimeError(kErrNoAnswer, "The emulator did not answer in time");
      // A byte beyond the answer means the answer is shifted by it.
      if (port.InBufferCount() > 0)
        throw platform::RunTimeError(kErrNoAnswer, "The emulator's answer was longer than asked");
      answer.conc_(*bytes);
      count -= chunk;
      address += chunk;
    }
    // The link is idle again when the caller sees the bytes.
    SetLinkState(kLinkEventDone);
    return answer.bytes();
  } catch (...) {
    SetLinkState(kLinkEventFailure);
    throw;
  }
}

void EmulatorLink::PollEmulator() {
  if (state_.LinkState == kLinkHandshake) return;
  SetLinkState(kLinkEventPoll);
  if (state_.LinkState != kLinkHandshake) return;
  // A failing step fails the link and the handshake goes on with the next.
  const auto step = [this](const auto& body) {
    try {
      body();
    } catch (const std::exception&) {
      SetLinkState(kLinkEventFailure);
    }
  };
  platform::SerialPort& port = Comm();
  platform::Deadline deadline(0);
  const auto expired = [&] { return TimedOut(deadline); };
  bool followed = true;
  step([&] { deadline = StartTimeout(timings_.handshakeMs); });
  step([&] { port.SetDTREnable(false); });
  step([&] { followed = platform::WaitPumping([&] { return !port.DSRHolding(); }, expired); });
  if (!followed) return HandshakeTimedOut();
  step([&] { port.SetDTREnable(true); });
  step([&] { deadline = StartTimeout(timings_.handshakeMs); });
  step([&] { followed = platform::WaitPumping([&] { return port.DSRHolding(); }, expired); });
  if (!followed) return HandshakeTimedOut();
  // The DSR edges the handshake caused reach the port's handler while the
  // handshake still runs: delivered after it, the drop would read as a
  // failure of the idle link.
  step([&] { QCoreApplication::processEvents(); });
  step([&] { port.SetInBufferCount(0); });
  step([&] { port.SetOutBufferCount(0); });
  SetLinkState(kLinkEventDone);
}

// The session goes, and the port is closed whatever the session was: a link
// left in the handshake state would refuse every later operation.
void EmulatorLink::HandshakeTimedOut() {
  if (onHandshakeTimeout_) onHandshakeTimeout_();
  ClosePort();
}

}  // namespace monitor
