#include "platform/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>

#include "line_providers.h"
#include "platform/clock.h"
#include "platform/run_time_error.h"
#include "platform/tty.h"

namespace platform {
namespace {

constexpr int kInvalidPort = SerialPort::kErrInvalidPort;
constexpr int kInvalidSettings = SerialPort::kErrInvalidSettings;
constexpr int kUnavailable = SerialPort::kErrUnavailable;
constexpr int kLineCheckMillis = 10;
constexpr uint32_t kMostEdgesPerCheck = 64;

[[noreturn]] void Raise(int number, const std::string& text) {
  throw RunTimeError(number, text);
}

std::string PortPath(int port) {
  std::string name = "TAVIX_COM" + std::to_string(port);
  const char* mapped = std::getenv(name.c_str());
  if (mapped && *mapped) return mapped;
  return "/dev/ttyS" + std::to_string(port - 1);
}

// A byte queue read from the front, compacted when it empties.
struct ByteQueue {
  std::vector<uint8_t> bytes;
  size_t head = 0;

  size_t Size() const { return bytes.size() - head; }
  const uint8_t* Front() const { return bytes.data() + head; }
  void Append(const uint8_t* p, size_t n) {
    if (head == bytes.size()) Clear();
    bytes.insert(bytes.end(), p, p + n);
  }
  void Drop(size_t n) {
    head += n;
    if (head == bytes.size()) Clear();
  }
  void Clear() {
    bytes.clear();
    head = 0;
  }
};

struct Edge {
  int code;
  int line;  // 0 CTS, 1 DSR, 2 CD; -1 for a time-out
  bool level;
};

}  // namespace

struct SerialPort::Impl {
  // Properties.
  int port = 1;
  std::string settings = "9600,N,8,1";
  SerialFormat format;
  int inSize = 4096, outSize = 4096, inputLen = 0;
  bool outputWaits = false, dtr = false, rts = false;
  int timeout[2] = {0, 0};  // CTS, DSR

  // The open port.
  bool open = false;
  int fd = -1;
  bool ioError = false;
  std::unique_ptr<comm::LineProvider> lines;
  comm::LineState current, reported;
  ByteQueue in, out;

  // Events.
  std::function<void()> onComm;
  int commEvent = 0;
  std::deque<Edge> pending;
  bool overridden[3] = {false, false, false};
  bool overrideLevel[3] = {false, false, false};
  uint32_t edgeGeneration[3] = {0, 0, 0};
  int64_t stallSince[2] = {-1, -1};
  bool stallReported[2] = {false, false};

  QSocketNotifier* readNotifier = nullptr;
  QSocketNotifier* writeNotifier = nullptr;
  QSocketNotifier* lineNotifier = nullptr;
  std::vector<std::unique_ptr<QSocketNotifier>> retired;  // may be inside their own slot
  QTimer lineTimer, deliverTimer;
  int slotDepth = 0;
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);

  Impl() {
    lineTimer.setInterval(kLineCheckMillis);
    QObject::connect(&lineTimer, &QTimer::timeout, [this] { Slot([this] { Check(); }); });
    deliverTimer.setSingleShot(true);
    deliverTimer.setInterval(0);
    QObject::connect(&deliverTimer, &QTimer::timeout, [this] { Slot([this] { Check(); }); });
  }

  ~Impl() {
    *alive = false;
    Close();
  }

  template <typename F>
  void Slot(F f) {
    auto token = alive;
    ++slotDepth;
    f();
    if (*token) --slotDepth;
  }

  bool Hold() const { return lines && lines->Hold(); }

  // --- open and close ---

  void Open() {
    std::string path = PortPath(port);
    struct stat st;
    if (stat(path.c_str(), &st) != 0) Raise(kInvalidPort, "Invalid port: " + path);
    if (S_ISSOCK(st.st_mode)) {
      lines = comm::ConnectSideChannel(path, fd, current);
      int flags = fcntl(fd, F_GETFL);
      fcntl(fd, F_SETFL, flags | O_NONBLOCK);
      if (!MakeRawTty(fd)) Fail(kUnavailable, "Port unavailable: " + path);
    } else if (S_ISCHR(st.st_mode)) {
      fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
      if (fd < 0) Raise(kUnavailable, "Port unavailable: " + path + ": " + std::strerror(errno));
      if (!isatty(fd)) Fail(kInvalidPort, "Invalid port: " + path);
      if (ioctl(fd, TIOCEXCL) != 0 || flock(fd, LOCK_EX | LOCK_NB) != 0 || !MakeRawTty(fd))
        Fail(kUnavailable, "Port unavailable: " + path);
      lines = comm::MakeModemLines(fd);
      lines->Refresh(current);
    } else {
      Raise(kInvalidPort, "Invalid port: " + path);
    }
    if (!ApplySerialFormat(fd, format)) Fail(kInvalidSettings, "Invalid settings: " + settings);
    lines->SetOutputs(dtr, rts);
    reported = current;
    open = true;
    ioError = false;

    if (slotDepth == 0) retired.clear();
    readNotifier = new QSocketNotifier(fd, QSocketNotifier::Read);
    QObject::connect(readNotifier, &QSocketNotifier::activated,
                     [this] { Slot([this] { Pull(); }); });
    writeNotifier = new QSocketNotifier(fd, QSocketNotifier::Write);
    writeNotifier->setEnabled(false);
    QObject::connect(writeNotifier, &QSocketNotifier::activated,
                     [this] { Slot([this] { Check(); }); });
    if (lines->NotifyFd() >= 0) {
      lineNotifier = new QSocketNotifier(lines->NotifyFd(), QSocketNotifier::Read);
      QObject::connect(lineNotifier, &QSocketNotifier::activated,
                       [this] { Slot([this] { Check(); }); });
    }
    UpdateLineTimer();
  }

  // Undoes a half-done open and raises.
  [[noreturn]] void Fail(int number, const std::string& text) {
    lines.reset();
    if (fd >= 0) ::close(fd);
    fd = -1;
    Raise(number, text);
  }

  void Retire(QSocketNotifier*& n) {
    if (!n) return;
    n->setEnabled(false);
    retired.emplace_back(n);
    n = nullptr;
  }

  void Close() {
    if (!open) return;
    open = false;
    Retire(readNotifier);
    Retire(writeNotifier);
    Retire(lineNotifier);
    lineTimer.stop();
    deliverTimer.stop();
    pending.clear();
    for (bool& o : overridden) o = false;
    stallSince[0] = stallSince[1] = -1;
    lines.reset();  // a rig device sees its host leave, as DTR and RTS off
    ::close(fd);
    fd = -1;
    in.Clear();
    out.Clear();
    current = reported = comm::LineState{};
  }

  void UpdateLineTimer() {
    bool needed = open && (!lineNotifier || timeout[0] > 0 || timeout[1] > 0);
    if (needed && !lineTimer.isActive()) lineTimer.start();
    if (!needed) lineTimer.stop();
  }

  // --- data path ---

  void Pull() {
    if (!open || ioError) return;
    uint8_t chunk[4096];
    while (in.Size() < static_cast<size_t>(inSize)) {
      size_t room = std::min(sizeof chunk, static_cast<size_t>(inSize) - in.Size());
      ssize_t n = ::read(fd, chunk, room);
      if (n > 0) {
        in.Append(chunk, static_cast<size_t>(n));
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno != EAGAIN) ioError = true;
      break;
    }
    // A full buffer leaves the rest in the device until it is read.
    if (readNotifier) readNotifier->setEnabled(!ioError && in.Size() < static_cast<size_t>(inSize));
  }

  void Flush() {
    while (out.Size() > 0 && !Hold() && !ioError) {
      ssize_t n = ::write(fd, out.Front(), out.Size());
      if (n > 0) {
        out.Drop(static_cast<size_t>(n));
      } else if (n < 0 && errno == EAGAIN) {
        break;
      } else if (!(n < 0 && errno == EINTR)) {
        ioError = true;
      }
    }
    if (writeNotifier) writeNotifier->setEnabled(out.Size() > 0 && !Hold() && !ioError);
  }

  int KernelOutQueue() const {
    int n = 0;
    if (lines->KernelQueueCounts() && ioctl(fd, TIOCOUTQ, &n) != 0) n = 0;
    return n;
  }

  void Output(const uint8_t* data, size_t size) {
    if (!open) Raise(kUnavailable, "Port unavailable: the port is closed");
    if (ioError) Raise(kUnavailable, "Port unavailable: the device went away");
    size_t done = 0;
    if (out.Size() == 0 && !Hold()) {
      while (done < size) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n > 0) {
          done += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
          continue;
        } else {
          if (!(n < 0 && errno == EAGAIN)) ioError = true;
          break;
        }
      }
    }
    if (ioError) Raise(kUnavailable, "Port unavailable: the device went away");
    if (done < size) {
      out.Append(data + done, size - done);
      Flush();
    }
    if (outputWaits) WaitSent(size);
  }

  // Returns once the queue and the device's own queue are empty, or after the
  // bytes' transmit time plus 10 ms.
  void WaitSent(size_t size) {
    if (out.Size() == 0 && KernelOutQueue() == 0) return;
    int bitsPerByte = 1 + format.dataBits + (format.parity == 'N' ? 0 : 1) + format.stopBits;
    int64_t deadline = MonotonicMicros() + 10000 +
                       static_cast<int64_t>(size) * bitsPerByte * 1000000 / format.baud;
    for (;;) {
      Flush();
      if (ioError || (out.Size() == 0 && KernelOutQueue() == 0)) return;
      int64_t left = deadline - MonotonicMicros();
      if (left <= 0) return;
      pollfd p[2];
      int count = 0;
      if (out.Size() > 0 && !Hold()) p[count++] = pollfd{fd, POLLOUT, 0};
      if (lines->NotifyFd() >= 0) p[count++] = pollfd{lines->NotifyFd(), POLLIN, 0};
      poll(p, static_cast<nfds_t>(count), static_cast<int>(std::min<int64_t>(left / 1000 + 1, 5)));
      RefreshLines();
    }
  }

  // --- lines and events ---

  // Brings the levels up to date; a change not yet reported is delivered
  // from the event processing that follows.
  void RefreshLines() {
    bool held = Hold();
    lines->Refresh(current);
    bool changed = held != Hold();
    for (int i = 0; i < 3; ++i)
      changed =
          changed || current.level[i] != reported.level[i] || current.count[i] != reported.count[i];
    if (changed) deliverTimer.start();
  }

  bool Line(int i) {
    if (!open) return false;
    RefreshLines();
    return overridden[i] ? overrideLevel[i] : current.level[i];
  }

  void Check() {
    if (!open) return;
    lines->Refresh(current);
    if (lineNotifier && lines->NotifyFd() < 0) {
      Retire(lineNotifier);  // the device went away; its socket stays readable
      UpdateLineTimer();
    }
    static constexpr int kCodes[3] = {kEventCts, kEventDsr, kEventCd};
    for (int i = 0; i < 3; ++i) {
      uint32_t edges = current.count[i] - reported.count[i];
      bool moved = current.level[i] != reported.level[i];
      if (((edges & 1) != 0) != moved) ++edges;
      if (edges > kMostEdgesPerCheck) edges = kMostEdgesPerCheck + (moved ? 1 : 0);
      for (uint32_t k = 1; k <= edges; ++k)
        pending.push_back(Edge{kCodes[i], i, current.level[i] != (((edges - k) & 1) != 0)});
    }
    reported = current;
    Flush();
    CheckStalls();
    Dispatch();
  }

  void CheckStalls() {
    static constexpr int kCodes[2] = {kEventCtsTimeout, kEventDsrTimeout};
    size_t waiting = out.Size() + static_cast<size_t>(KernelOutQueue());
    for (int j = 0; j < 2; ++j) {
      if (timeout[j] <= 0 || waiting == 0 || current.level[j]) {
        stallSince[j] = -1;
        stallReported[j] = false;
        continue;
      }
      int64_t now = MonotonicMicros();
      if (stallSince[j] < 0) stallSince[j] = now;
      if (!stallReported[j] && now - stallSince[j] >= int64_t{timeout[j]} * 1000) {
        stallReported[j] = true;
        pending.push_back(Edge{kCodes[j], -1, false});
      }
    }
  }

  void Dispatch() {
    auto token = alive;
    while (open && !pending.empty()) {
      Edge e = pending.front();
      pending.pop_front();
      commEvent = e.code;
      uint32_t generation = 0;
      if (e.line >= 0) {
        overridden[e.line] = true;
        overrideLevel[e.line] = e.level;
        generation = ++edgeGeneration[e.line];
      }
      std::function<void()> handler = onComm;
      if (handler) handler();
      if (!*token) return;
      // A later edge of the same line, handled inside, has already moved on.
      if (e.line >= 0 && edgeGeneration[e.line] == generation) overridden[e.line] = false;
    }
  }
};

SerialPort::SerialPort() : impl_(std::make_unique<Impl>()) {}
SerialPort::~SerialPort() = default;

int SerialPort::CommPort() const {
  return impl_->port;
}
void SerialPort::SetCommPort(int port) {
  if (port < 1 || port > 99) Raise(kInvalidPort, "Invalid port number " + std::to_string(port));
  impl_->port = port;
}

std::string SerialPort::Settings() const {
  return impl_->settings;
}
void SerialPort::SetSettings(const std::string& settings) {
  SerialFormat f;
  if (!ParseSerialSettings(settings, f)) Raise(kInvalidSettings, "Invalid settings: " + settings);
  if (impl_->open && !ApplySerialFormat(impl_->fd, f)) {
    ApplySerialFormat(impl_->fd, impl_->format);
    Raise(kInvalidSettings, "Invalid settings: " + settings);
  }
  impl_->settings = settings;
  impl_->format = f;
}

bool SerialPort::PortOpen() const {
  return impl_->open;
}
void SerialPort::SetPortOpen(bool open) {
  if (open && !impl_->open) impl_->Open();
  if (!open) impl_->Close();
}

int SerialPort::InBufferSize() const {
  return impl_->inSize;
}
void SerialPort::SetInBufferSize(int size) {
  impl_->inSize = std::max(1, size);
}
int SerialPort::OutBufferSize() const {
  return impl_->outSize;
}
void SerialPort::SetOutBufferSize(int size) {
  impl_->outSize = std::max(1, size);
}

int SerialPort::InputLen() const {
  return impl_->inputLen;
}
void SerialPort::SetInputLen(int length) {
  impl_->inputLen = std::max(0, length);
}

std::vector<uint8_t> SerialPort::Input() {
  Impl& p = *impl_;
  if (!p.open) Raise(kUnavailable, "Port unavailable: the port is closed");
  p.Pull();
  size_t n = p.in.Size();
  if (p.inputLen > 0) n = std::min(n, static_cast<size_t>(p.inputLen));
  std::vector<uint8_t> bytes(p.in.Front(), p.in.Front() + n);
  p.in.Drop(n);
  p.Pull();
  return bytes;
}

int SerialPort::InBufferCount() {
  impl_->Pull();
  return static_cast<int>(impl_->in.Size());
}
void SerialPort::SetInBufferCount(int count) {
  Impl& p = *impl_;
  if (count != 0 || !p.open) return;
  p.in.Clear();
  // What the device holds goes too: everything received so far is dropped.
  uint8_t scratch[4096];
  while (::read(p.fd, scratch, sizeof scratch) > 0) {
  }
  tcflush(p.fd, TCIFLUSH);
  p.Pull();
}

void SerialPort::Output(const uint8_t* data, size_t size) {
  impl_->Output(data, size);
}

int SerialPort::OutBufferCount() {
  Impl& p = *impl_;
  if (!p.open) return 0;
  p.RefreshLines();
  p.Flush();
  return static_cast<int>(p.out.Size()) + p.KernelOutQueue();
}
void SerialPort::SetOutBufferCount(int count) {
  if (count != 0 || !impl_->open) return;
  impl_->out.Clear();
  impl_->Flush();
  tcflush(impl_->fd, TCOFLUSH);
}

bool SerialPort::OutputWaits() const {
  return impl_->outputWaits;
}
void SerialPort::SetOutputWaits(bool wait) {
  impl_->outputWaits = wait;
}

bool SerialPort::DTREnable() const {
  return impl_->dtr;
}
void SerialPort::SetDTREnable(bool on) {
  impl_->dtr = on;
  if (impl_->open) impl_->lines->SetOutputs(impl_->dtr, impl_->rts);
}
bool SerialPort::RTSEnable() const {
  return impl_->rts;
}
void SerialPort::SetRTSEnable(bool on) {
  impl_->rts = on;
  if (impl_->open) impl_->lines->SetOutputs(impl_->dtr, impl_->rts);
}

bool SerialPort::CTSHolding() {
  return impl_->Line(0);
}
bool SerialPort::DSRHolding() {
  return impl_->Line(1);
}
bool SerialPort::CDHolding() {
  return impl_->Line(2);
}

int SerialPort::CTSTimeout() const {
  return impl_->timeout[0];
}
void SerialPort::SetCTSTimeout(int ms) {
  impl_->timeout[0] = std::max(0, ms);
  impl_->UpdateLineTimer();
}
int SerialPort::DSRTimeout() const {
  return impl_->timeout[1];
}
void SerialPort::SetDSRTimeout(int ms) {
  impl_->timeout[1] = std::max(0, ms);
  impl_->UpdateLineTimer();
}

int SerialPort::CommEvent() const {
  return impl_->commEvent;
}
void SerialPort::SetOnComm(std::function<void()> handler) {
  impl_->onComm = std::move(handler);
}

}  // namespace platform
