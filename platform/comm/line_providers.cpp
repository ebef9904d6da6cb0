#include "line_providers.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/comm_side_channel.h"
#include "platform/run_time_error.h"
#include "platform/serial_port.h"

namespace platform::comm {
namespace {

namespace sc = side_channel;

[[noreturn]] void Unavailable(const std::string& why) {
  throw RunTimeError(SerialPort::kErrUnavailable, "Port unavailable: " + why);
}

class ModemLines final : public LineProvider {
 public:
  explicit ModemLines(int fd) : fd_(fd) {
    int bits = 0;
    hasLines_ = ioctl(fd_, TIOCMGET, &bits) == 0;
    serial_icounter_struct c{};
    hasCounters_ = hasLines_ && ioctl(fd_, TIOCGICOUNT, &c) == 0;
  }

  void Refresh(LineState& lines) override {
    if (!hasLines_) {
      lines.level[0] = lines.level[1] = lines.level[2] = true;
      return;
    }
    int bits = 0;
    if (ioctl(fd_, TIOCMGET, &bits) != 0) return;
    lines.level[0] = bits & TIOCM_CTS;
    lines.level[1] = bits & TIOCM_DSR;
    lines.level[2] = bits & TIOCM_CD;
    serial_icounter_struct c{};
    if (hasCounters_ && ioctl(fd_, TIOCGICOUNT, &c) == 0) {
      lines.count[0] = static_cast<uint32_t>(c.cts);
      lines.count[1] = static_cast<uint32_t>(c.dsr);
      lines.count[2] = static_cast<uint32_t>(c.dcd);
    }
  }

  void SetOutputs(bool dtr, bool rts) override {
    if (!hasLines_) return;
    int on = (dtr ? TIOCM_DTR : 0) | (rts ? TIOCM_RTS : 0);
    int off = (dtr ? 0 : TIOCM_DTR) | (rts ? 0 : TIOCM_RTS);
    if (on) ioctl(fd_, TIOCMBIS, &on);
    if (off) ioctl(fd_, TIOCMBIC, &off);
  }

 private:
  int fd_;
  bool hasLines_ = false;
  bool hasCounters_ = false;
};

class SideChannel final : public LineProvider {
 public:
  explicit SideChannel(int socketFd) : fd_(socketFd) {}
  ~SideChannel() override { ::close(fd_); }

  void Apply(const sc::Record& r, LineState& lines) {
    lines.level[0] = r.levels & sc::kCts;
    lines.level[1] = r.levels & sc::kDsr;
    lines.level[2] = r.levels & sc::kCd;
    for (int i = 0; i < 3; ++i) lines.count[i] = r.counters[i];
    hold_ = r.levels & sc::kHold;
  }

  void Refresh(LineState& lines) override {
    while (!lost_) {
      uint8_t buf[sc::kRecordSize];
      ssize_t n = recv(fd_, buf, sizeof buf, MSG_DONTWAIT);
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
      if (n <= 0) {
        // The device went away: every input line drops, each with its edge.
        lost_ = true;
        hold_ = false;
        for (int i = 0; i < 3; ++i) {
          if (lines.level[i]) ++lines.count[i];
          lines.level[i] = false;
        }
        return;
      }
      if (n == static_cast<ssize_t>(sc::kRecordSize) && buf[0] == sc::kDeviceLines)
        Apply(sc::Decode(buf), lines);
    }
  }

  void SetOutputs(bool dtr, bool rts) override {
    if (lost_) return;
    sc::Record r;
    r.kind = sc::kHostLines;
    r.levels = static_cast<uint8_t>((dtr ? sc::kDtr : 0) | (rts ? sc::kRts : 0));
    uint8_t buf[sc::kRecordSize];
    sc::Encode(r, buf);
    send(fd_, buf, sizeof buf, MSG_NOSIGNAL | MSG_DONTWAIT);
  }

  bool Hold() const override { return hold_; }
  int NotifyFd() const override { return lost_ ? -1 : fd_; }
  bool KernelQueueCounts() const override { return false; }

 private:
  int fd_;
  bool hold_ = false;
  bool lost_ = false;
};

}  // namespace

std::unique_ptr<LineProvider> MakeModemLines(int ttyFd) {
  return std::make_unique<ModemLines>(ttyFd);
}

std::unique_ptr<LineProvider> ConnectSideChannel(const std::string& path, int& ttyFd,
                                                 LineState& initial) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) Unavailable("endpoint path too long");
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (fd < 0) Unavailable(std::strerror(errno));
  auto channel = std::make_unique<SideChannel>(fd);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
    Unavailable(std::strerror(errno));

  pollfd p{fd, POLLIN, 0};
  if (poll(&p, 1, 2000) != 1) Unavailable("the device does not answer");
  uint8_t buf[sc::kRecordSize];
  iovec iov{buf, sizeof buf};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))];
  msghdr msg{};
  msg.msg_iov = &iov;
  msg.msg_iovlen = 1;
  msg.msg_control = control;
  msg.msg_controllen = sizeof control;
  ssize_t n = recvmsg(fd, &msg, MSG_CMSG_CLOEXEC);
  int received = -1;
  for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c))
    if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_RIGHTS)
      std::memcpy(&received, CMSG_DATA(c), sizeof received);
  if (n != static_cast<ssize_t>(sc::kRecordSize) || buf[0] != sc::kDeviceLines || received < 0) {
    if (received >= 0) ::close(received);
    Unavailable(n > 0 && buf[0] == sc::kRefusal ? "the device has another host"
                                                : "the device does not answer");
  }
  channel->Apply(sc::Decode(buf), initial);
  ttyFd = received;
  return channel;
}

}  // namespace platform::comm
