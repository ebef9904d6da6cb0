#include "platform/link_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "link_frames.h"
#include "platform/link.h"

namespace platform {
namespace {

struct Conversation {
  int fd = -1;
  std::string buffer;
  bool initiated = false;
};

// Creates the link folder with mode 0700, or checks an existing one: a real
// folder (not a link), ours, and closed to others.
bool PrepareFolder(const std::string& folder) {
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    // A missing parent: make it too (one level is enough for $XDG_RUNTIME_DIR).
    size_t slash = folder.rfind('/');
    if (errno != ENOENT || slash == std::string::npos || slash == 0) return false;
    if (mkdir(folder.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat st;
  if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid())
    return false;
  if ((st.st_mode & 0077) != 0 && chmod(folder.c_str(), 0700) != 0) return false;
  return true;
}

bool SomeoneListens(const sockaddr_un& addr) {
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool live = connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
  ::close(fd);
  return live;
}

}  // namespace

struct LinkServer::State {
  int listenFd = -1;
  std::string path;
  std::string conversationName;
  ino_t socketInode = 0;
  std::vector<std::string> items;
  PokeHandler handler;
  std::vector<Conversation> clients;
  int pokes = 0;

  bool KnowsItem(const std::string& item) const {
    for (const std::string& i : items)
      if (link::UpperName(i) == link::UpperName(item)) return true;
    return false;
  }

  void Accept() {
    for (;;) {
      int fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
      if (fd < 0) return;
      clients.push_back(Conversation{fd, {}, false});
    }
  }

  static void Answer(int fd, char answer) { send(fd, &answer, 1, MSG_NOSIGNAL); }

  // Handles the complete frames of one client; false ends the conversation.
  bool Serve(Conversation& c) {
    char chunk[4096];
    for (;;) {
      ssize_t n = recv(c.fd, chunk, sizeof chunk, 0);
      if (n > 0) {
        c.buffer.append(chunk, static_cast<size_t>(n));
        continue;
      }
      if (n == 0) {
        HandleFrames(c);  // what the client sent before it closed
        return false;
      }
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) break;
      return false;
    }
    return HandleFrames(c);
  }

  bool HandleFrames(Conversation& c) {
    char type = 0;
    std::string payload;
    bool bad = false;
    while (link::DecodeFrame(c.buffer, type, payload, bad)) {
      switch (type) {
        case link::kInit:
          c.initiated = link::UpperName(payload) == conversationName;
          Answer(c.fd, c.initiated ? link::kAck : link::kNak);
          if (!c.initiated) return false;
          break;
        case link::kAdvise:
          Answer(c.fd, c.initiated && KnowsItem(payload) ? link::kAck : link::kNak);
          break;
        case link::kPoke: {
          size_t nul = payload.find('\0');
          bool ok = c.initiated && nul != std::string::npos && KnowsItem(payload.substr(0, nul));
          if (ok) {
            ++pokes;
            ok = !handler || handler(payload.substr(0, nul), payload.substr(nul + 1));
          }
          Answer(c.fd, ok ? link::kAck : link::kNak);
          break;
        }
        case link::kTerminate:
          return false;
        default:
          Answer(c.fd, link::kNak);
          break;
      }
    }
    return !bad;
  }
};

LinkServer::LinkServer() : state_(std::make_unique<State>()) {}

LinkServer::~LinkServer() {
  Stop();
}

bool LinkServer::Listen(const std::string& application, const std::string& topic,
                        const std::vector<std::string>& items, PokeHandler handler) {
  Stop();
  if (!PrepareFolder(LinkFolder())) return false;
  std::string path = LinkSocketPath(application, topic);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);

  struct stat st;
  if (lstat(path.c_str(), &st) == 0) {
    if (!S_ISSOCK(st.st_mode) || SomeoneListens(addr)) return false;
    unlink(path.c_str());  // stale socket of a server that ended without cleaning up
  }
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 16) != 0) {
    ::close(fd);
    return false;
  }
  chmod(path.c_str(), 0600);
  state_->listenFd = fd;
  state_->path = path;
  state_->socketInode = lstat(path.c_str(), &st) == 0 ? st.st_ino : 0;
  state_->conversationName = link::UpperName(application) + "|" + link::UpperName(topic);
  state_->items = items;
  state_->handler = std::move(handler);
  return true;
}

void LinkServer::Stop() {
  for (Conversation& c : state_->clients) ::close(c.fd);
  state_->clients.clear();
  if (state_->listenFd >= 0) {
    ::close(state_->listenFd);
    // Remove the socket only when it is still ours (not a newer server's).
    struct stat st;
    if (lstat(state_->path.c_str(), &st) == 0 && st.st_ino == state_->socketInode)
      unlink(state_->path.c_str());
  }
  state_->listenFd = -1;
}

bool LinkServer::IsListening() const {
  return state_->listenFd >= 0;
}

const std::string& LinkServer::SocketPath() const {
  return state_->path;
}

int LinkServer::ClientCount() const {
  return static_cast<int>(state_->clients.size());
}

std::vector<int> LinkServer::Descriptors() const {
  std::vector<int> fds;
  if (state_->listenFd >= 0) fds.push_back(state_->listenFd);
  for (const Conversation& c : state_->clients) fds.push_back(c.fd);
  return fds;
}

int LinkServer::ProcessEvents(int timeoutMillis) {
  if (state_->listenFd < 0) return 0;
  std::vector<pollfd> fds;
  fds.push_back({state_->listenFd, POLLIN, 0});
  for (const Conversation& c : state_->clients) fds.push_back({c.fd, POLLIN, 0});
  if (poll(fds.data(), fds.size(), timeoutMillis) <= 0) return 0;

  state_->pokes = 0;
  // Serve the clients that were polled (new ones are served next time, or
  // now when they already sent something).
  std::vector<Conversation> kept;
  for (size_t i = 1; i < fds.size(); ++i) {
    Conversation& c = state_->clients[i - 1];
    if (fds[i].revents == 0 || state_->Serve(c)) {
      kept.push_back(std::move(c));
    } else {
      ::close(c.fd);
    }
  }
  state_->clients = std::move(kept);
  if (fds[0].revents & POLLIN) {
    size_t first = state_->clients.size();
    state_->Accept();
    for (size_t i = first; i < state_->clients.size();) {
      if (state_->Serve(state_->clients[i])) {
        ++i;
      } else {
        ::close(state_->clients[i].fd);
        state_->clients.erase(state_->clients.begin() + static_cast<long>(i));
      }
    }
  }
  return state_->pokes;
}

}  // namespace platform
