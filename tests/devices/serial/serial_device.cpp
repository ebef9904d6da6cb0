#include "serial_device.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <future>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "platform/comm_side_channel.h"
#include "platform/tempfiles.h"
#include "platform/tty.h"

namespace testdevices {
namespace {

namespace sc = platform::side_channel;
using Clock = std::chrono::steady_clock;

[[noreturn]] void Fatal(const std::string& what) {
  throw std::runtime_error("serial device: " + what + ": " + std::strerror(errno));
}

void SendRecord(int fd, const sc::Record& r, int passFd = -1) {
  uint8_t buf[sc::kRecordSize];
  sc::Encode(r, buf);
  iovec iov{buf, sizeof buf};
  msghdr msg{};
  msg.msg_iov = &iov;
  msg.msg_iovlen = 1;
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
  if (passFd >= 0) {
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    cmsghdr* c = CMSG_FIRSTHDR(&msg);
    c->cmsg_level = SOL_SOCKET;
    c->cmsg_type = SCM_RIGHTS;
    c->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(c), &passFd, sizeof passFd);
  }
  sendmsg(fd, &msg, MSG_NOSIGNAL);
}

}  // namespace

struct SerialDevice::Impl {
  mutable std::mutex m;
  std::string folder, endpoint, slavePath;
  int master = -1, slave = -1, listener = -1, host = -1;
  int wake[2] = {-1, -1};
  bool stop = false;

  bool level[3] = {false, false, false};  // CTS, DSR, CD
  uint32_t count[3] = {0, 0, 0};
  bool hold = false;
  bool dtr = false, rts = false, refuse = false;

  Handlers handlers;
  std::vector<uint8_t> received, toHost;
  struct Timer {
    Clock::time_point due;
    std::function<void()> action;
  };
  std::map<int, Timer> timers;
  int nextTimer = 1;
  std::thread thread;

  Impl() {
    master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) Fatal("pty");
    char name[128];
    if (ptsname_r(master, name, sizeof name) != 0) Fatal("ptsname");
    // The device keeps the slave open, so the master never reads as hung up
    // while no host is attached; the host gets a duplicate of it.
    slavePath = name;
    slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0 || !platform::MakeRawTty(slave)) Fatal("pty slave");
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    folder = platform::MakeTempFolder("tavix-rig-");
    if (folder.empty()) Fatal("temporary folder");
    endpoint = folder + "/port";
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (endpoint.size() >= sizeof addr.sun_path) Fatal("endpoint path too long");
    std::memcpy(addr.sun_path, endpoint.c_str(), endpoint.size() + 1);
    listener = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(listener, 4) != 0)
      Fatal("listening socket");
    if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) Fatal("pipe");
    thread = std::thread([this] { Run(); });
  }

  ~Impl() {
    {
      std::lock_guard<std::mutex> lock(m);
      stop = true;
    }
    Wake();
    thread.join();
    for (int fd : {master, slave, listener, host, wake[0], wake[1]})
      if (fd >= 0) ::close(fd);
    unlink(endpoint.c_str());
    rmdir(folder.c_str());
  }

  void Wake() { [[maybe_unused]] ssize_t n = ::write(wake[1], "w", 1); }

  // Sends the line record; with `locked` held.
  void SendLines() {
    if (host < 0) return;
    sc::Record r;
    r.kind = sc::kDeviceLines;
    r.levels = static_cast<uint8_t>((level[0] ? sc::kCts : 0) | (level[1] ? sc::kDsr : 0) |
                                    (level[2] ? sc::kCd : 0) | (hold ? sc::kHold : 0));
    for (int i = 0; i < 3; ++i) r.counters[i] = count[i];
    SendRecord(host, r);
  }

  void SetLine(int i, bool on) {
    std::lock_guard<std::mutex> lock(m);
    if (level[i] == on) return;
    level[i] = on;
    ++count[i];
    SendLines();
  }

  // --- the device thread ---

  void Run() {
    for (;;) {
      std::vector<std::pair<Clock::time_point, std::function<void()>>> due;
      int timeoutMs = -1;
      pollfd p[4];
      {
        std::lock_guard<std::mutex> lock(m);
        if (stop) return;
        Clock::time_point now = Clock::now();
        for (auto it = timers.begin(); it != timers.end();) {
          if (it->second.due <= now) {
            due.emplace_back(it->second.due, std::move(it->second.action));
            it = timers.erase(it);
          } else {
            auto ms = std::chrono::ceil<std::chrono::milliseconds>(it->second.due - now).count();
            if (timeoutMs < 0 || ms < timeoutMs) timeoutMs = static_cast<int>(ms);
            ++it;
          }
        }
        p[0] = pollfd{wake[0], POLLIN, 0};
        p[1] = pollfd{listener, POLLIN, 0};
        p[2] = pollfd{master, static_cast<short>(POLLIN | (toHost.empty() ? 0 : POLLOUT)), 0};
        p[3] = pollfd{host, POLLIN, 0};
      }
      // Timers run in the order they fall due, ties in the order they were set.
      std::stable_sort(due.begin(), due.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
      for (auto& d : due) d.second();
      if (!due.empty()) continue;
      if (poll(p, 4, timeoutMs) <= 0) continue;
      if (p[0].revents) {
        char drain[64];
        while (::read(wake[0], drain, sizeof drain) > 0) {
        }
      }
      if (p[1].revents & POLLIN) Accept();
      if (p[3].revents) HostRecords();
      if (p[2].revents & POLLOUT) FlushToHost();
      if (p[2].revents & POLLIN) ReadFromHost();
    }
  }

  void Accept() {
    int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) return;
    std::function<void(bool)> attach;
    {
      std::lock_guard<std::mutex> lock(m);
      if (host >= 0 || refuse) {
        sc::Record r;
        r.kind = sc::kRefusal;
        SendRecord(fd, r);
        ::close(fd);
        return;
      }
      host = fd;
      sc::Record r;
      r.kind = sc::kDeviceLines;
      r.levels = static_cast<uint8_t>((level[0] ? sc::kCts : 0) | (level[1] ? sc::kDsr : 0) |
                                      (level[2] ? sc::kCd : 0) | (hold ? sc::kHold : 0));
      for (int i = 0; i < 3; ++i) r.counters[i] = count[i];
      SendRecord(host, r, slave);
      attach = handlers.attach;
    }
    if (attach) attach(true);
  }

  void HostRecords() {
    for (;;) {
      uint8_t buf[sc::kRecordSize];
      std::function<void(bool, bool)> lines;
      std::function<void(bool)> attach;
      bool newDtr = false, newRts = false;
      {
        std::lock_guard<std::mutex> lock(m);
        if (host < 0) return;
        ssize_t n = recv(host, buf, sizeof buf, MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
        if (n <= 0) {
          // The host closed its port: DTR and RTS drop with it.
          ::close(host);
          host = -1;
          attach = handlers.attach;
        } else if (n == static_cast<ssize_t>(sc::kRecordSize) && buf[0] == sc::kHostLines) {
          newDtr = buf[1] & sc::kDtr;
          newRts = buf[1] & sc::kRts;
        } else {
          continue;
        }
        if (newDtr != dtr || newRts != rts) {
          dtr = newDtr;
          rts = newRts;
          lines = handlers.hostLines;
        }
      }
      if (lines) lines(newDtr, newRts);
      if (attach) {
        attach(false);
        return;
      }
    }
  }

  void ReadFromHost() {
    uint8_t chunk[4096];
    for (;;) {
      // Line changes the host made before writing these bytes come first.
      HostRecords();
      ssize_t n = ::read(master, chunk, sizeof chunk);
      if (n <= 0) return;
      std::function<void(const uint8_t*, size_t)> bytes;
      {
        std::lock_guard<std::mutex> lock(m);
        bytes = handlers.bytes;
        if (!bytes) received.insert(received.end(), chunk, chunk + n);
      }
      if (bytes) bytes(chunk, static_cast<size_t>(n));
    }
  }

  // With the lock held.
  void FlushToHostLocked() {
    while (!toHost.empty()) {
      ssize_t n = ::write(master, toHost.data(), toHost.size());
      if (n <= 0) return;
      toHost.erase(toHost.begin(), toHost.begin() + n);
    }
  }

  void FlushToHost() {
    std::lock_guard<std::mutex> lock(m);
    FlushToHostLocked();
  }
};

SerialDevice::SerialDevice() : impl_(std::make_unique<Impl>()) {}
SerialDevice::~SerialDevice() = default;

const std::string& SerialDevice::Endpoint() const {
  return impl_->endpoint;
}
const std::string& SerialDevice::SlavePath() const {
  return impl_->slavePath;
}

void SerialDevice::SetHandlers(Handlers handlers) {
  std::lock_guard<std::mutex> lock(impl_->m);
  impl_->handlers = std::move(handlers);
}

void SerialDevice::SetCts(bool on) {
  impl_->SetLine(0, on);
}
void SerialDevice::SetDsr(bool on) {
  impl_->SetLine(1, on);
}
void SerialDevice::SetCd(bool on) {
  impl_->SetLine(2, on);
}
void SerialDevice::PulseCd() {
  std::lock_guard<std::mutex> lock(impl_->m);
  impl_->count[2] += 2;
  impl_->SendLines();
}
void SerialDevice::SetHold(bool on) {
  std::lock_guard<std::mutex> lock(impl_->m);
  if (impl_->hold == on) return;
  impl_->hold = on;
  impl_->SendLines();
}

bool SerialDevice::Cts() const {
  std::lock_guard<std::mutex> lock(impl_->m);
  return impl_->level[0];
}
bool SerialDevice::Dsr() const {
  std::lock_guard<std::mutex> lock(impl_->m);
  return impl_->level[1];
}
bool SerialDevice::Cd() const {
  std::lock_guard<std::mutex> lock(impl_->m);
  return impl_->level[2];
}
bool SerialDevice::Hold() const {
  std::lock_guard<std::mutex> lock(impl_->m);
  return impl_->hold;
}

bool SerialDevice::Attached() const {
  std::lock_guard<std::mutex> lock(impl_->m);
  return impl_->host >= 0;
}
bool SerialDevice::Dtr() const {
  std::lock_guard<std::mutex> lock(impl_->m);
  return impl_->dtr;
}
bool SerialDevice::Rts() const {
  std::lock_guard<std::mutex> lock(impl_->m);
  return impl_->rts;
}
int SerialDevice::HostRate() const {
  return platform::TtyRate(impl_->slave);
}
void SerialDevice::SetRefuseHosts(bool refuse) {
  std::lock_guard<std::mutex> lock(impl_->m);
  impl_->refuse = refuse;
}

void SerialDevice::Write(const uint8_t* data, size_t size) {
  {
    std::lock_guard<std::mutex> lock(impl_->m);
    impl_->toHost.insert(impl_->toHost.end(), data, data + size);
    impl_->FlushToHostLocked();
    if (impl_->toHost.empty()) return;
  }
  impl_->Wake();
}

std::vector<uint8_t> SerialDevice::Received() {
  std::lock_guard<std::mutex> lock(impl_->m);
  std::vector<uint8_t> bytes;
  bytes.swap(impl_->received);
  return bytes;
}

int SerialDevice::After(int ms, std::function<void()> action) {
  int id;
  {
    std::lock_guard<std::mutex> lock(impl_->m);
    id = impl_->nextTimer++;
    impl_->timers[id] = {Clock::now() + std::chrono::milliseconds(ms), std::move(action)};
  }
  impl_->Wake();
  return id;
}

void SerialDevice::Settle() {
  // A read that finds the pty empty first completes the kernel's pending
  // transfer from the host's side, so one read pass on the device thread takes
  // every byte the host has written before this call, however late the
  // kernel's worker runs on a loaded machine.
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> settled = done->get_future();
  After(0, [impl = impl_.get(), done] {
    impl->ReadFromHost();
    done->set_value();
  });
  settled.wait_for(std::chrono::seconds(30));
}

void SerialDevice::Cancel(int id) {
  std::lock_guard<std::mutex> lock(impl_->m);
  impl_->timers.erase(id);
}

}  // namespace testdevices
