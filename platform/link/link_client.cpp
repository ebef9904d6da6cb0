#include "platform/link_client.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "link_frames.h"
#include "platform/link.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

int RemainingMillis(Clock::time_point deadline) {
  auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Waits until `fd` is ready for `events` or the deadline passes.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    pollfd p{fd, events, 0};
    int r = poll(&p, 1, RemainingMillis(deadline));
    if (r > 0) return (p.revents & (events | POLLHUP | POLLERR)) != 0;
    if (r == 0) return false;
    if (errno != EINTR) return false;
  }
}

bool SendAll(int fd, const std::string& data, Clock::time_point deadline) {
  size_t sent = 0;
  while (sent < data.size()) {
    ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!WaitFor(fd, POLLOUT, deadline)) return false;
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

LinkClient::~LinkClient() {
  Close();
}

bool LinkClient::Open(const std::string& application, const std::string& topic,
                      const std::string& item, int timeoutTenths) {
  Close();
  std::string path = LinkSocketPath(application, topic);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);

  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  timeoutMillis_ = timeoutTenths > 0 ? timeoutTenths * 100 : 0;
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMillis_);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    // Nobody listening gives ENOENT or ECONNREFUSED at once; a full backlog
    // gives EAGAIN, and then the time-out applies.
    bool pending = errno == EINPROGRESS || errno == EAGAIN;
    int error = 0;
    socklen_t len = sizeof error;
    if (!pending || !WaitFor(fd, POLLOUT, deadline) ||
        getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0 || error != 0) {
      ::close(fd);
      return false;
    }
  }
  fd_ = fd;
  item_ = item;
  if (!Request(link::kInit, link::UpperName(application) + "|" + link::UpperName(topic)) ||
      !Request(link::kAdvise, item)) {
    Drop();
    return false;
  }
  return true;
}

bool LinkClient::Poke(const std::string& text) {
  if (fd_ < 0) return false;
  std::string payload = item_;
  payload += '\0';
  payload += text;
  if (!Request(link::kPoke, payload)) {
    Drop();
    return false;
  }
  return true;
}

void LinkClient::Close() {
  if (fd_ < 0) return;
  auto deadline = Clock::now() + std::chrono::milliseconds(100);
  SendAll(fd_, link::EncodeFrame(link::kTerminate, ""), deadline);
  Drop();
}

void LinkClient::Drop() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool LinkClient::Request(char type, const std::string& payload) {
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMillis_);
  if (!SendAll(fd_, link::EncodeFrame(type, payload), deadline)) return false;
  for (;;) {
    char answer = 0;
    ssize_t n = recv(fd_, &answer, 1, 0);
    if (n == 1) return answer == link::kAck;
    if (n == 0) return false;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
    if (!WaitFor(fd_, POLLIN, deadline)) return false;
  }
}

}  // namespace platform
